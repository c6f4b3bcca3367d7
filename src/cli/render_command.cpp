// ejscope render: the offline viewer. One request by numbers over a fresh
// model: the tape file is walked, its documents sorted by DI, and the typed
// range rendered, to standard output (UTF-8) or to a file in the save format.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "tape/tape_walker.h"
#include "render/display_file.h"
#include "render/render_error.h"
#include "render/render_pass.h"
#include "render/text_rules.h"
#include "tape/number_map.h"
#include "text/cp1251.h"

namespace {

constexpr int max_header_lines = 9;

// Exit statuses beside 0 (every document rendered).
constexpr int exit_failed = 1;            // the tape or the range could not be processed
constexpr int exit_document_errors = 2;   // some documents stopped early; see the error log

struct render_options {
  std::string tape;
  std::string type;
  std::string from, to;
  std::vector<std::string> headers;
  bool colvo = false;
  std::string output;
  std::string error_log = "error.log";
};

// The lines a request appends when its tape cannot be processed.
void append_failure_lines(std::vector<std::string>& display) {
  display.push_back(ejscope::win("Непредвиденный сбой в структуре получаемой информации!"));
  display.push_back(ejscope::win("Попробуйте выбрать другой диапазон номеров или дат!"));
}

[[noreturn]] void tape_too_large(const std::string& path) {
  throw std::runtime_error("the tape " + path + " is larger than " + std::to_string(ejscope::max_tape_bytes >> 20) +
                           " MiB (" + std::to_string(ejscope::max_tape_bytes) + " bytes), more than a tape may hold");
}

// The tape's bytes, at most max_tape_bytes: a larger file is refused by its
// size before it is read, and a stream without a size (a pipe, a device) once
// it passes the limit.
std::string read_tape(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && size > ejscope::max_tape_bytes) tape_too_large(path);
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open the tape " + path);
  std::string bytes;
  std::vector<char> block(1 << 16);
  while (file.read(block.data(), static_cast<std::streamsize>(block.size())) || file.gcount() > 0) {
    bytes.append(block.data(), static_cast<std::size_t>(file.gcount()));
    if (bytes.size() > ejscope::max_tape_bytes) tape_too_large(path);
  }
  if (file.bad()) throw std::runtime_error("cannot read the tape " + path);
  return bytes;
}

void print_utf8(const std::vector<std::string>& display) {
  for (const auto& line : display) std::cout << ejscope::text::cp1251_to_utf8(line) << '\n';
  std::cout.flush();
}

int run_render(const render_options& options) {
  static const std::map<std::string, int> types = {
      {"z", ejscope::document_types::z_report},
      {"check", ejscope::document_types::check},
      {"both", ejscope::document_types::check_and_z},
      {"service", ejscope::document_types::cash_in_out},
  };
  ejscope::render_settings settings;
  settings.document_type = types.at(options.type);
  settings.colvo_flag = options.colvo;
  settings.error_log_path = options.error_log;
  for (const auto& header : options.headers) settings.header.lines.push_back(ejscope::text::utf8_to_cp1251(header));
  settings.header.last = options.headers.empty() ? 0 : static_cast<int>(options.headers.size()) - 1;

  std::vector<std::string> display;
  int status = 0;
  try {
    const std::string tape = read_tape(options.tape);
    ejscope::rq store;
    ejscope::control walk;
    ejscope::walk_tape(walk, store, tape);
    ejscope::sort_documents(store);
    ejscope::sootv z_doc_map, fetched_z;
    const int failed = ejscope::render_documents(store, settings, ejscope::text::utf8_to_cp1251(options.from),
                                                 ejscope::text::utf8_to_cp1251(options.to), z_doc_map, fetched_z,
                                                 display);
    if (failed > 0) {
      std::cerr << "ejscope render: " << failed << " document(s) stopped early; the last message is in "
                << options.error_log << "\n";
      status = exit_document_errors;
    }
  } catch (const ejscope::walk_error& error) {
    append_failure_lines(display);
    std::cerr << "ejscope render: the tape " << options.tape
              << " cannot be walked: " << ejscope::text::cp1251_to_utf8(error.what()) << "\n";
    status = exit_failed;
  } catch (const ejscope::render_error& error) {
    append_failure_lines(display);
    std::cerr << "ejscope render: --from " << options.from << " --to " << options.to
              << ": " << ejscope::text::cp1251_to_utf8(error.what()) << "\n";
    status = exit_failed;
  } catch (const std::exception& error) {
    append_failure_lines(display);
    std::cerr << "ejscope render: " << ejscope::text::cp1251_to_utf8(error.what()) << "\n";
    status = exit_failed;
  }

  if (options.output.empty()) {
    print_utf8(display);
    return status;
  }
  try {
    ejscope::save_display(display, options.output);
  } catch (const std::exception& error) {
    std::cerr << "ejscope render: " << error.what() << "\n";
    return exit_failed;
  }
  return status;
}

}  // namespace

void add_render_command(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<render_options>();
  CLI::App* command = app.add_subcommand(
      "render",
      "Render documents of a tape file (such as temp.xml) offline: the tape is walked into a fresh model, its "
      "documents are sorted by DI and the range --from..--to is laid out as 40-column text. Exit status: 0 all "
      "documents rendered; 1 the tape could not be read or walked, or a number is not an integer (the output "
      "then holds the two failure lines of a request); 2 some documents stopped early (their partial lines "
      "are kept and the last message is in the error log).");
  command->add_option("tape", options->tape, "The tape: XML text in windows-1251 with the envelope <RQ V=\"1\">")
      ->required();
  command
      ->add_option("--type", options->type,
                   "Document type: z (\"Z-отчет\", the numbers are Z-report numbers), check (\"Чек\"), both "
                   "(\"Чек+Z-отчет\"), service (\"Внес./Изъят.\", service receipts); for all but z the numbers "
                   "are receipt numbers")
      ->required()
      ->check(CLI::IsMember({"z", "check", "both", "service"}));
  command->add_option("--from", options->from, "First number of the range (an integer text)")->required();
  command->add_option("--to", options->to, "Last number of the range (an integer text)")->required();
  command
      ->add_option("--header", options->headers,
                   "A header line of the register (UTF-8; repeat for up to nine lines, in order). Receipts print "
                   "all of them, Z-reports all but the last; with fewer than two lines the fixed header is "
                   "printed")
      ->allow_extra_args(false)
      ->take_all();
  command->add_flag("--colvo", options->colvo, "Write sale lines without quantity in the \" 1.000 X\" form");
  command->add_option("-o,--output", options->output,
                      "Save the lines to this file (windows-1251, CR LF after every line) instead of printing "
                      "them as UTF-8");
  command->add_option("--error-log", options->error_log,
                      "The file that receives the message of the last document that stopped early")
      ->capture_default_str();
  command->callback([options, &exit_code] {
    if (options->headers.size() > max_header_lines) {
      throw CLI::ValidationError("--header", "the register holds at most nine header lines");
    }
    exit_code = run_render(*options);
  });
}
