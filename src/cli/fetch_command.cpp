// ejscope fetch: the whole road of one request in one process: connect,
// identify (choosing the retrieval mode), assemble the documents of a number
// range or a period, walk them into the model, render them and save or
// print the text. Exit status: 0 done, 1 not connected, 2 the request
// failed, 3 done but some documents came incomplete (named on stderr).
#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/console_platform.h"
#include "cli/request_console.h"
#include "render/display_file.h"
#include "text/cp1251.h"

namespace {

using ejscope::cli::connect_options;
using ejscope::cli::console_request;
using ejscope::cli::console_session;
using ejscope::cli::request_options;

struct fetch_options {
  connect_options connection;
  request_options request;
};

// The rendered lines: into the file as saved from the window, or as UTF-8
// on standard output.
bool write_display(const std::vector<std::string>& lines, const std::string& output) {
  if (!output.empty()) {
    try {
      ejscope::save_display(lines, output);
    } catch (const std::exception& e) {
      std::cerr << "ejscope: " << e.what() << '\n';
      return false;
    }
    return true;
  }
  for (const std::string& line : lines) std::cout << ejscope::text::cp1251_to_utf8(line) << '\n';
  std::cout << std::flush;
  return true;
}

}  // namespace

void add_fetch_command(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<fetch_options>();
  CLI::App* command = app.add_subcommand(
      "fetch", "retrieve documents by number range or by period from a register and render them");
  ejscope::cli::add_connect_options(*command, options->connection);
  ejscope::cli::add_type_options(*command, options->request);
  ejscope::cli::add_number_options(*command, options->request, false);
  ejscope::cli::add_period_options(*command, options->request, false);
  command->add_option("-o,--output", options->request.output, "save the rendered text here (windows-1251, CR LF)");
  command->add_option("--xml", options->request.xml, "where the assembled XML text is written (default temp.xml)");
  command->callback([options, command, &exit_code] {
    const bool by_numbers = command->count("--from") > 0;
    const bool by_dates = command->count("--since") > 0;
    if (by_numbers == by_dates) {
      std::cerr << "ejscope fetch: give either --from/--to or --since/--until\n";
      exit_code = 2;
      return;
    }
    console_session session(options->connection, std::cerr, std::cin, false);
    if (!session.connect()) {
      exit_code = 1;
      return;
    }
    console_request request(session, options->request, std::cerr);
    if (by_numbers) {
      request.logic().fetch_by_numbers();
    } else {
      // As in the window: "Вернуть номера" fills the number fields the rendering reads, then "Получить".
      request.logic().look_up_period_numbers();
      request.logic().fetch_by_period();
    }
    exit_code = ejscope::cli::request_exit_status(request.logic());
    if (!request.logic().display().empty() && !write_display(request.logic().display(), options->request.output))
      exit_code = 2;
    session.disconnect();
  });
}
