// ejscope render as a program: output forms, exit statuses, failure lines
// and messages, error log placement, and its help.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "text/cp1251.h"
#include "unit/render_support.h"

namespace {

using ejscope::render_testing::file_bytes;
using ejscope::render_testing::scratch_folder;

const std::string source_dir = EJSCOPE_SOURCE_DIR;
const std::string sample = source_dir + "/samples/tape.xml";

struct outcome {
  int status = -1;
  std::string out, err;
};

std::string quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs the program with the arguments in `folder` as the working directory.
outcome run(const scratch_folder& folder, const std::vector<std::string>& args) {
  std::string command = "cd " + quoted(folder.path().string()) + " && " + quoted(EJSCOPE_CLI_PATH);
  for (const auto& arg : args) command += " " + quoted(arg);
  command += " >" + quoted(folder.file("stdout")) + " 2>" + quoted(folder.file("stderr"));
  const int raw = std::system(command.c_str());
  outcome result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = file_bytes(folder.file("stdout"));
  result.err = file_bytes(folder.file("stderr"));
  return result;
}

std::string golden(const std::string& name) { return file_bytes(source_dir + "/tests/golden/" + name); }

// The save format as the terminal gets it: UTF-8 with LF.
std::string as_terminal_text(const std::string& saved) {
  std::string out;
  std::size_t start = 0;
  for (auto end = saved.find("\r\n"); end != std::string::npos; end = saved.find("\r\n", start)) {
    out += ejscope::text::cp1251_to_utf8(saved.substr(start, end - start)) + "\n";
    start = end + 2;
  }
  return out;
}

const std::string failure_lines =
    "Непредвиденный сбой в структуре получаемой информации!\nПопробуйте выбрать другой диапазон номеров или дат!\n";

std::string tape_of(const std::string& documents) {
  return "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n" + documents + "\r\n</RQ>\r\n";
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(RenderCli, PrintsOrSavesTheSampleExactlyAsTheGoldenTexts) {
  struct golden_case {
    std::string golden;
    std::vector<std::string> args;
  };
  const std::vector<golden_case> cases = {
      {"tape_both.txt",
       {"--type", "both", "--from", "1", "--to", "99", "--header", "ТОВ \"Зелений кошик\"", "--header",
        "вул. Хрещатик, 22", "--header", "м. Київ"}},
      {"tape_check.txt", {"--type", "check", "--from", "1", "--to", "99", "--colvo"}},
      {"tape_z.txt",
       {"--type", "z", "--from", "1", "--to", "3", "--header", "ТОВ \"Зелений кошик\"", "--header",
        "вул. Хрещатик, 22", "--header", "м. Київ"}},
      {"tape_service.txt", {"--type", "service", "--from", "1", "--to", "99"}},
  };
  scratch_folder folder;
  for (const auto& c : cases) {
    std::vector<std::string> args = {"render", sample};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto printed = run(folder, args);
    EXPECT_EQ(printed.status, 0) << c.golden << ": " << printed.err;
    EXPECT_EQ(printed.out, as_terminal_text(golden(c.golden))) << c.golden;
    EXPECT_EQ(printed.err, "");

    args.insert(args.end(), {"-o", folder.file("out.txt")});
    const auto saved = run(folder, args);
    EXPECT_EQ(saved.status, 0) << c.golden;
    EXPECT_EQ(saved.out, "");
    EXPECT_EQ(file_bytes(folder.file("out.txt")), golden(c.golden)) << c.golden;
  }
  EXPECT_FALSE(std::filesystem::exists(folder.file("error.log")));
}

TEST(RenderCli, ATapeThatCannotBeProcessedGivesTheFailureLinesAndStatusOne) {
  scratch_folder folder;
  write_file(folder.file("bad_number.xml"), tape_of("<DAT DI=\"abc\"><C T=\"0\"/></DAT><MAC/>"));
  write_file(folder.file("not_xml.xml"), "<RQ V=\"1\"><DAT>");
  // A 1 GiB tape as a sparse file: refused by its size, without a byte read.
  write_file(folder.file("huge.xml"), "<RQ V=\"1\">");
  std::filesystem::resize_file(folder.file("huge.xml"), std::uintmax_t{1} << 30);
  struct failing_case {
    std::vector<std::string> args;
    std::vector<std::string> message_parts;
  };
  const std::vector<failing_case> cases = {
      {{"render", folder.file("bad_number.xml"), "--type", "check", "--from", "1", "--to", "9"},
       {"bad_number.xml", "slot 0", "DAT", "DI", "abc"}},
      {{"render", folder.file("not_xml.xml"), "--type", "check", "--from", "1", "--to", "9"}, {"not_xml.xml"}},
      {{"render", folder.file("missing.xml"), "--type", "z", "--from", "1", "--to", "9"}, {"missing.xml"}},
      {{"render", folder.file("huge.xml"), "--type", "check", "--from", "1", "--to", "9"},
       {"huge.xml", "larger than 64 MiB"}},
      // A stream without a size and without an end: refused once it passes the limit.
      {{"render", "/dev/zero", "--type", "check", "--from", "1", "--to", "9"}, {"/dev/zero", "larger than 64 MiB"}},
      {{"render", sample, "--type", "check", "--from", "x1", "--to", "9"}, {"'x1' is not a valid integer value"}},
      {{"render", sample, "--type", "check", "--from", "1", "--to", "9.5"}, {"'9.5' is not a valid integer value"}},
  };
  for (const auto& c : cases) {
    const auto result = run(folder, c.args);
    EXPECT_EQ(result.status, 1) << c.args[1];
    EXPECT_EQ(result.out, failure_lines) << c.args[1];
    for (const auto& part : c.message_parts) EXPECT_NE(result.err.find(part), std::string::npos) << result.err;
  }
  // Saved, the failure lines are in the save format.
  const auto saved = run(folder, {"render", folder.file("bad_number.xml"), "--type", "z", "--from", "1", "--to", "1",
                                  "-o", folder.file("out.txt")});
  EXPECT_EQ(saved.status, 1);
  EXPECT_EQ(as_terminal_text(file_bytes(folder.file("out.txt"))), failure_lines);
}

TEST(RenderCli, ADocumentThatStopsEarlyIsLoggedAndGivesStatusTwo) {
  scratch_folder folder;
  const std::string documents =
      "<DAT FN=\"1\" TN=\"T\" ZN=\"Z\" DI=\"1\"><C T=\"0\" CN=\"1\" ON=\"A\"><P N=\"1\" NM=\"X\" SM=\"100\" TX=\"\"/>"
      "<E N=\"2\" NO=\"1\" SM=\"100\"/></C><TS>20240115090000</TS></DAT><MAC DI=\"1\"/>"
      "<DAT FN=\"1\" TN=\"T\" ZN=\"Z\" DI=\"2\"><C T=\"0\" CN=\"1\" ON=\"A\"><E N=\"1\" NO=\"2\" SM=\"0\" TX=\"1\"/></C>"
      "<TS>20240115100000</TS></DAT><MAC DI=\"2\"/>";
  write_file(folder.file("tape.xml"), tape_of(documents));
  const std::vector<std::string> range = {"--type", "check", "--from", "1", "--to", "2"};

  std::vector<std::string> args = {"render", folder.file("tape.xml")};
  args.insert(args.end(), range.begin(), range.end());
  const auto in_working_folder = run(folder, args);
  EXPECT_EQ(in_working_folder.status, 2);
  EXPECT_EQ(file_bytes(folder.file("error.log")), "'' is not a valid integer value\r\n");
  EXPECT_NE(in_working_folder.out.find("000000002"), std::string::npos);  // the pass went on
  EXPECT_NE(in_working_folder.err.find("error.log"), std::string::npos);

  args.insert(args.end(), {"--error-log", folder.file("other.log")});
  std::filesystem::remove(folder.file("error.log"));
  EXPECT_EQ(run(folder, args).status, 2);
  EXPECT_EQ(file_bytes(folder.file("other.log")), "'' is not a valid integer value\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder.file("error.log")));
}

TEST(RenderCli, RejectsWrongOptionsAndAnUnwritableOutput) {
  scratch_folder folder;
  std::vector<std::string> ten_headers = {"render", sample, "--type", "check", "--from", "1", "--to", "2"};
  for (int i = 0; i < 10; ++i) ten_headers.insert(ten_headers.end(), {"--header", "h" + std::to_string(i)});
  const std::vector<std::vector<std::string>> cases = {
      {"render", sample, "--type", "all", "--from", "1", "--to", "2"},
      {"render", sample, "--from", "1", "--to", "2"},
      {"render", sample, "--type", "z", "--to", "2"},
      ten_headers,
  };
  for (const auto& args : cases) {
    const auto result = run(folder, args);
    EXPECT_NE(result.status, 0) << args.size();
    EXPECT_FALSE(result.err.empty());
  }
  const auto unwritable = run(folder, {"render", sample, "--type", "z", "--from", "1", "--to", "1", "-o",
                                       folder.file("missing/out.txt")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("Cannot create file"), std::string::npos);
}

TEST(RenderCli, HelpDescribesEveryOption) {
  scratch_folder folder;
  const auto result = run(folder, {"render", "--help"});
  EXPECT_EQ(result.status, 0);
  for (const char* option : {"--type", "--from", "--to", "--header", "--colvo", "--output", "--error-log", "Exit status"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
