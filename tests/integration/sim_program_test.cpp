// The ejscope-sim program: it prints the ports it chose, serves, and stops
// cleanly on SIGTERM and SIGINT; bad options end it with a message.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "integration/sim_raw_client.h"

namespace ejscope::testing {
namespace {

struct program {
  pid_t pid = -1;
  int out = -1;  // standard output and error of the program

  explicit program(std::vector<std::string> args) {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    args.insert(args.begin(), EJSCOPE_SIM_PATH);
    pid = ::fork();
    if (pid == 0) {
      ::dup2(pipe_fds[1], 1);
      ::dup2(pipe_fds[1], 2);
      ::close(pipe_fds[0]);
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(pipe_fds[1]);
    out = pipe_fds[0];
  }

  ~program() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    if (out >= 0) ::close(out);
  }

  // Output until it holds `wanted` or 5 s pass.
  std::string read_until(const std::string& wanted) {
    std::string text;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (text.find(wanted) == std::string::npos && std::chrono::steady_clock::now() < end) {
      pollfd p{out, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
      char block[512];
      const ssize_t got = ::read(out, block, sizeof block);
      if (got <= 0) break;
      text.append(block, static_cast<std::size_t>(got));
    }
    return text;
  }

  // Exit status, or -1 when it has not ended within 5 s.
  int wait_exit() {
    for (int i = 0; i < 500; ++i) {
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      ::usleep(10000);
    }
    return -1;
  }
};

TEST(SimProgram, ServesOnTheChosenPortsAndStopsOnSignals) {
  const std::string record = ::testing::TempDir() + "sim_program_record.txt";
  std::remove(record.c_str());
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    program sim({"--port-datecs", "0", "--port-kelvora", "0", "--synthetic", "12", "--firmware-date", "2015-12-03",
                 "--header", "Перший рядок", "--fault", "nak,cmd=5A", "--record", record});
    const std::string banner = sim.read_until("12 documents");
    unsigned datecs_port = 0, kelvora_port = 0;
    ASSERT_EQ(std::sscanf(banner.c_str(), "datecs port %u\nkelvora port %u", &datecs_port, &kelvora_port), 2) << banner;
    EXPECT_NE(datecs_port, 0u);
    raw_client client(static_cast<std::uint16_t>(kelvora_port));
    client.send(std::string(":3000123456:", 12));
    EXPECT_EQ(client.read_until([](const std::string& b) { return b.size() >= 5; }), "Ready");
    client.send(request(0x21, 0x80, "418257;"));
    const parsed_reply r = parse_reply(client.read_until([](const std::string& b) { return !b.empty() && b.back() == 3; }), true);
    EXPECT_NE(r.data.find(";Dec  3 2015;"), std::string::npos) << r.data;
    client.send(request(0x22, 0x23, "418257;0;"));
    const parsed_reply line = parse_reply(client.read_until([](const std::string& b) { return !b.empty() && b.back() == 3; }), true);
    EXPECT_EQ(line.data, "\xCF\xE5\xF0\xF8\xE8\xE9 \xF0\xFF\xE4\xEE\xEA;0;");  // windows-1251
    ::kill(sim.pid, signal);
    EXPECT_EQ(sim.wait_exit(), 0);
  }
  std::ifstream in(record);
  std::string first_line;
  std::getline(in, first_line);
  EXPECT_EQ(first_line.rfind("kelvora access ok", 0), 0u) << first_line;
}

TEST(SimProgram, BadOptionsEndWithAMessage) {
  // A sparse file: large on paper, nothing on the disk.
  const std::string huge = ::testing::TempDir() + "sim_huge_tape.xml";
  { std::ofstream(huge).put('<'); }
  std::filesystem::resize_file(huge, 600LL << 20);
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--fault", "no_such_fault", "--synthetic", "3"}, "unknown kind no_such_fault"},
      {{"--tape", "/nonexistent/tape.xml"}, "cannot read the tape"},
      {{"--firmware-date", "4.12.2015", "--synthetic", "3"}, "YYYY-MM-DD"},
      {{"--tape", huge}, "larger than 512 MiB"},
      {{"--synthetic", "3", "--port-datecs", "70000"}, "port-datecs"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    program sim(c.args);
    EXPECT_NE(sim.read_until(c.message).find(c.message), std::string::npos);
    EXPECT_NE(sim.wait_exit(), 0);
  }
  std::filesystem::remove(huge);
}

}  // namespace
}  // namespace ejscope::testing
