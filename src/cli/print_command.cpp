// ejscope print: "Печать на РРО": asks the register to print a range of its
// documents on its own paper, after the question "Печать требует затрат
// бумажной ленты" (answered on standard input, or Yes with --yes). For
// --type z the numbers are sent as typed (no Z-report was rendered in this
// run). Exit status 0 when sent, 1 when not connected, 2 when not sent.
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/console_platform.h"
#include "cli/request_console.h"

void add_print_command(CLI::App& app, int& exit_code) {
  struct print_options {
    ejscope::cli::connect_options connection;
    ejscope::cli::request_options request;
    bool yes = false;
  };
  auto options = std::make_shared<print_options>();
  CLI::App* command = app.add_subcommand("print", "print a range of documents on the register's paper");
  ejscope::cli::add_connect_options(*command, options->connection);
  ejscope::cli::add_type_options(*command, options->request);
  ejscope::cli::add_number_options(*command, options->request, true);
  command->add_flag("--yes", options->yes, "answer Yes to the paper question");
  command->callback([options, &exit_code] {
    ejscope::cli::console_session session(options->connection, std::cerr, std::cin, options->yes);
    if (!session.connect()) {
      exit_code = 1;
      return;
    }
    ejscope::cli::console_request request(session, options->request, std::cerr);
    exit_code = request.logic().print_range() ? 0 : 2;
    session.disconnect();
  });
}
