// ejscope identify as a program against the in-process simulator: what it
// prints, its messages on standard error and its exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "integration/sim_harness.h"

namespace ejscope {
namespace {

using testing::sim_harness;
using testing::sim_test_config;

struct program_run {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the command line with the arguments (already quoted for the shell)
// from a temporary folder, so that no settings file of the tree is read.
// scale divides every time-out. interrupt_after: when not empty, the program runs in the background and
// gets SIGINT (Ctrl-C) after that many seconds.
program_run run_identify(const std::string& args, int scale = 400, const std::string& interrupt_after = {}) {
  std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "identify_cli";
  std::filesystem::create_directories(folder);
  std::filesystem::path err_file = folder / "stderr.txt";
  std::string command = "cd '" + folder.string() + "' && '" + EJSCOPE_CLI_PATH + "' identify " + args +
                        " --timeout-scale " + std::to_string(scale) + " 2>'" + err_file.string() + "' </dev/null";
  if (!interrupt_after.empty()) {
    command = "(" + command + ") & p=$!; sleep " + interrupt_after + "; kill -INT $p; wait $p";
  }
  program_run run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  int rc = ::pclose(pipe);
  run.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  std::ifstream in(err_file, std::ios::binary);
  run.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return run;
}

std::string target(const sim_harness& sim, sim::register_protocol p) {
  return std::string("--host 127.0.0.1 --port ") + std::to_string(sim.port(p));
}

TEST(identify_cli, datecs_register) {
  sim::config cfg = sim_test_config();
  cfg.register_identity.set_firmware_date(2015, 12, 3);
  sim_harness sim(cfg);
  program_run run = run_identify(target(sim, sim::register_protocol::datecs) +
                                 " --protocol datecs --id 3000123456");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("panel 3: 3Dec15\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("retrieval mode: fragment\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("header line"), std::string::npos) << run.out;
}

TEST(identify_cli, kelvora_register_with_header_lines) {
  sim_harness sim;
  program_run run = run_identify(target(sim, sim::register_protocol::kelvora) +
                                 " --protocol kelvora --id KV0000001 --id-kind dev");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("panel 3: Jan 15 2016\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("retrieval mode: packet\n"), std::string::npos) << run.out;
  // The register's header lines, shown as UTF-8.
  EXPECT_NE(run.out.find("header line 0: ТОВ \"Каса\"\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("header line 1: "), std::string::npos) << run.out;
}

TEST(identify_cli, failures_give_a_message_and_a_non_zero_status) {
  struct {
    const char* name;
    std::string args;
    sim::fault_kind fault;
    bool inject;
    const char* message;
  } cases[] = {
      {"unknown_register", " --protocol datecs --id 999", sim::fault_kind::silence, false,
       "Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)"},
      {"wrong_ready", " --protocol datecs --id 3000123456", sim::fault_kind::wrong_ready, true,
       "Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)"},
      // A register gone from behind the gateway: no reply, at once.
      {"device_timeout", " --protocol kelvora --id 3000123456", sim::fault_kind::close_connection, true,
       "Ошибка! Таймаут устройства!"},
  };
  for (const auto& c : cases) {
    sim_harness sim;
    if (c.inject) {
      sim::fault_rule rule;
      rule.kind = c.fault;
      rule.times = -1;
      if (c.fault == sim::fault_kind::close_connection) rule.command = 0x80;
      sim.fault(rule);
    }
    auto p = c.args.find("kelvora") != std::string::npos ? sim::register_protocol::kelvora
                                                         : sim::register_protocol::datecs;
    program_run run = run_identify(target(sim, p) + c.args);
    EXPECT_EQ(run.status, 1) << c.name;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.name;
  }
}

TEST(identify_cli, ctrl_c_aborts_the_wait) {
  sim_harness sim;
  sim::fault_rule rule;
  rule.kind = sim::fault_kind::silence;
  rule.on_handshake = true;
  sim.fault(rule);
  // Real time-outs: only the abort ends the wait of up to eight minutes.
  program_run run = run_identify(target(sim, sim::register_protocol::datecs) + " --protocol datecs --id 3000123456",
                                 1, "0.5");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Сервер не отвечает, проверьте настройки РРО"), std::string::npos) << run.err;
}

TEST(identify_cli, no_gateway_at_the_address) {
  std::uint16_t port = 0;
  {
    sim_harness sim;
    port = sim.datecs_port();
  }
  program_run run = run_identify("--host 127.0.0.1 --port " + std::to_string(port) +
                                 " --protocol datecs --id 3000123456");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Сервер не отвечает, проверьте IP адрес"), std::string::npos) << run.err;
}

TEST(identify_cli, bad_arguments_are_refused) {
  for (const char* args : {"--host 127.0.0.1 --protocol other --id 1", "--host 127.0.0.1 --protocol datecs",
                           "--host 127.0.0.1 --protocol datecs --id 1 --id-kind serial"}) {
    program_run run = run_identify(args);
    EXPECT_NE(run.status, 0) << args;
  }
}

}  // namespace
}  // namespace ejscope
