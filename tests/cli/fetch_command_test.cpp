// ejscope fetch, numbers and print as programs against the in-process
// simulator: exit status, saved text, standard error.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "integration/sim_harness.h"
#include "model/control.h"
#include "render/display_file.h"
#include "render/render_pass.h"

namespace ejscope {
namespace {

using testing::sim_harness;

struct run_result {
  int status = -1;
  std::string out, err;
};

std::string read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::filesystem::path scratch(const std::string& name) {
  auto dir = std::filesystem::path(::testing::TempDir()) / ("fetch_cli_" + name);
  std::filesystem::create_directories(dir);
  return dir;
}

run_result run(const std::filesystem::path& dir, const std::string& args, const std::string& input = "") {
  const auto in = dir / "stdin.txt", out = dir / "stdout.txt", err = dir / "stderr.txt";
  std::ofstream(in) << input;
  const std::string command = "cd '" + dir.string() + "' && '" + EJSCOPE_CLI_PATH + "' " + args + " <'" +
                              in.string() + "' >'" + out.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(out), read_file(err)};
}

std::string connect_args(const sim_harness& sim, sim::register_protocol p) {
  return std::string("--host 127.0.0.1 --port ") + std::to_string(sim.port(p)) + " --protocol " +
         (p == sim::register_protocol::datecs ? "datecs" : "kelvora") + " --id-kind dev --id " +
         sim.identity().dev_id + " --timeout-scale 60";
}

// What the window would save for the tape rendered over [first, last].
std::string offline_file(const std::string& tape, int type, int first, int last,
                         const std::vector<std::string>& header, int header_last, const std::filesystem::path& dir) {
  rq store;
  control walk;
  walk_tape(walk, store, tape);
  sort_documents(store);
  render_settings settings;
  settings.document_type = type;
  settings.header = register_header{header, header_last};
  sootv z, f;
  std::vector<std::string> lines;
  render_documents(store, settings, std::to_string(first), std::to_string(last), z, f, lines);
  save_display(lines, (dir / "offline.txt").string());
  return read_file(dir / "offline.txt");
}

sim::config fragment_config() {
  sim::config cfg = testing::sim_test_config(sim::make_tape(30));
  cfg.register_identity.set_firmware_date(2015, 11, 1);
  return cfg;
}

TEST(FetchCommand, SavesWhatTheWindowWouldSaveInEachProtocolAndMode) {
  for (bool packet : {true, false}) {
    sim_harness sim(packet ? testing::sim_test_config(sim::make_tape(30)) : fragment_config());
    for (auto p : {sim::register_protocol::datecs, sim::register_protocol::kelvora}) {
      const auto dir = scratch(std::string(packet ? "packet" : "fragment") + std::to_string(static_cast<int>(p)));
      const run_result r = run(dir, "fetch " + connect_args(sim, p) + " --type both --from 3 --to 12 -o out.txt --xml t.xml");
      EXPECT_EQ(r.status, 0) << r.err;
      // Datecs registers give no header lines: the fixed ones are printed.
      std::vector<std::string> header = p == sim::register_protocol::kelvora ? sim.identity().header_lines
                                                                              : std::vector<std::string>{};
      const int header_last = header.empty() ? 0 : static_cast<int>(header.size()) - 1;
      EXPECT_EQ(read_file(dir / "out.txt"), offline_file(sim.tape().tape_text(), 2, 3, 12, header, header_last, dir));
      EXPECT_EQ(read_file(dir / "t.xml").rfind("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n", 0), 0u);
    }
  }
}

TEST(FetchCommand, IncompleteDocumentsAreNamedOnStandardError) {
  sim_harness sim;
  sim::fault_rule bad;
  bad.kind = sim::fault_kind::bad_crc;
  bad.command = 0x21;
  bad.skip = 2;
  sim.fault(bad);
  const auto dir = scratch("incomplete");
  const run_result r = run(dir, "fetch " + connect_args(sim, sim::register_protocol::kelvora) + " --type check --from 1 --to 6");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("documents that came incomplete"), std::string::npos) << r.err;
  EXPECT_FALSE(r.out.empty());  // the text went to standard output
}

TEST(FetchCommand, ExitStatusOfFailures) {
  sim_harness sim;
  const std::string c = connect_args(sim, sim::register_protocol::datecs);
  struct Case {
    std::string args;
    int status;
  } cases[] = {
      {"fetch " + c + " --from 5 --to 3", 2},                                  // rejected by the window
      {"fetch " + c + " --from 1 --to 2 --since \"01.03.16 08:00\" --until \"01.03.16 09:00\"", 2},
      {"fetch " + c, 2},                                                         // neither range nor period
      {"fetch " + c + " --since \"15.03.16 00:00\" --until \"14.03.16 00:00\"", 2},
      {"fetch --host 127.0.0.1 --port 1 --protocol datecs --id X --from 1 --to 2 --timeout-scale 60", 1},
  };
  for (const auto& k : cases) EXPECT_EQ(run(scratch("failures"), k.args).status, k.status) << k.args;
}

TEST(FetchCommand, ByPeriodAndNumberLookUp) {
  sim_harness sim;
  const auto dir = scratch("period");
  const std::string c = connect_args(sim, sim::register_protocol::kelvora);
  const std::string period = " --since \"01.03.16 08:30\" --until \"01.03.16 09:30\"";
  const run_result numbers = run(dir, "numbers " + c + period);
  EXPECT_EQ(numbers.status, 0) << numbers.err;
  EXPECT_EQ(numbers.out, "3 9\n");
  const run_result fetched = run(dir, "fetch " + c + " --type check" + period + " -o out.txt");
  EXPECT_EQ(fetched.status, 0) << fetched.err;
  EXPECT_EQ(read_file(dir / "out.txt"),
            offline_file(sim.tape().tape_text(), 1, 3, 9, sim.identity().header_lines,
                         static_cast<int>(sim.identity().header_lines.size()) - 1, dir));
}

TEST(PrintCommand, AsksUnlessYes) {
  sim_harness sim;
  const auto dir = scratch("print");
  const std::string c = connect_args(sim, sim::register_protocol::datecs);
  EXPECT_EQ(run(dir, "print " + c + " --type check --from 5 --to 9", "n\n").status, 2);
  EXPECT_TRUE(sim.sim().printed().empty());
  EXPECT_EQ(run(dir, "print " + c + " --type check --from 5 --to 9 --yes").status, 0);
  ASSERT_EQ(sim.sim().printed().size(), 1u);
  EXPECT_EQ(sim.sim().printed()[0].first, 5);
  EXPECT_EQ(sim.sim().printed()[0].last, 9);
}

}  // namespace
}  // namespace ejscope
