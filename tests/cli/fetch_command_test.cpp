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
#include "tape/tape_walker.h"
#include "render/display_file.h"
#include "render/render_pass.h"
#include "text/cp1251.h"

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

// The tape text of only the documents a request of that kind brings for
// [first, last]: receipts by their receipt numbers, Z-reports by theirs.
std::string tape_of(const sim::journal& tape, int kind, int first, int last) {
  std::string text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<RQ V=\"1\">\n";
  for (const sim::journal_document* doc : tape.range(kind, first, last)) text += doc->text + "\n";
  return text + "</RQ>\n";
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
      // Receipts 3 ... 12 (Z-report 1 lies between them but is not asked by receipt numbers).
      EXPECT_EQ(read_file(dir / "out.txt"),
                offline_file(tape_of(sim.tape(), sim::kind_document, 3, 12), 2, 3, 12, header, header_last, dir));
      EXPECT_EQ(read_file(dir / "t.xml").rfind("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n", 0), 0u);
    }
  }
}

// On the sample tape the receipts are numbered 1 ... 19 and their documents
// DI 101 ... 122: the typed numbers are receipt numbers, asked and shown.
TEST(FetchCommand, ReceiptNumbersOfTheSampleTapeAreWhatIsShown) {
  sim_harness sim(testing::sim_test_config(testing::sample_tape_text()));
  const std::string c = connect_args(sim, sim::register_protocol::datecs);
  const struct {
    const char* type;
    int type_index;
    int first, last;
    int kind;
  } cases[] = {
      {"check", 1, 1, 5, sim::kind_document},
      {"check", 1, 9, 14, sim::kind_document},
      {"both", 2, 1, 19, sim::kind_document},
      {"z", 0, 1, 3, sim::kind_z_report},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.type) + " " + std::to_string(k.first) + ".." + std::to_string(k.last));
    const auto dir = scratch(std::string("sample_") + k.type + std::to_string(k.first));
    const run_result r = run(dir, "fetch " + c + " --type " + k.type + " --from " + std::to_string(k.first) +
                                      " --to " + std::to_string(k.last) + " -o out.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string shown = read_file(dir / "out.txt");
    EXPECT_EQ(shown, offline_file(tape_of(sim.tape(), k.kind, k.first, k.last), k.type_index, k.first, k.last, {}, 0, dir));
    // The whole tape rendered over the same numbers shows the same receipts.
    if (k.type_index != 2) {
      EXPECT_EQ(shown, offline_file(sim.tape().tape_text(), k.type_index, k.first, k.last, {}, 0, dir));
    }
    EXPECT_EQ(shown.find(text::utf8_to_cp1251("Запрашиваемые данные отсутствуют!")), std::string::npos);
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
  // Documents 6 ... 12 (09:00 ... 10:00): receipts 6 ... 11 and Z-report 1 (09:40).
  const std::string period = " --since \"01.03.16 09:00\" --until \"01.03.16 10:00\"";
  const run_result numbers = run(dir, "numbers " + c + period);
  EXPECT_EQ(numbers.status, 0) << numbers.err;
  EXPECT_EQ(numbers.out, "6 11\n");
  const run_result fetched = run(dir, "fetch " + c + " --type both" + period + " -o out.txt");
  EXPECT_EQ(fetched.status, 0) << fetched.err;
  EXPECT_EQ(read_file(dir / "out.txt"),
            offline_file(tape_of(sim.tape(), sim::kind_document, 6, 11), 2, 6, 11, sim.identity().header_lines,
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
