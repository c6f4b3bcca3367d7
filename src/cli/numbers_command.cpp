// ejscope numbers: the number look-up ("Вернуть номера"): asks the register
// for the first and last receipt number of a period and prints them as
// "first last". Without --since/--until the request window's own period is
// asked (the first day of last month to now). Exit status 0 when the
// register gave the numbers, 1 when not connected, 2 otherwise (the window's
// fields would then show 1 and 1).
#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/console_platform.h"
#include "cli/request_console.h"

void add_numbers_command(CLI::App& app, int& exit_code) {
  struct numbers_options {
    ejscope::cli::connect_options connection;
    ejscope::cli::request_options request;
  };
  auto options = std::make_shared<numbers_options>();
  CLI::App* command = app.add_subcommand("numbers", "ask a register for the first and last receipt number of a period");
  ejscope::cli::add_connect_options(*command, options->connection);
  command->add_option("--password", options->request.password, "access password of the register (default 418257)");
  ejscope::cli::add_period_options(*command, options->request, false);
  command->callback([options, &exit_code] {
    ejscope::cli::console_session session(options->connection, std::cerr, std::cin, false);
    if (!session.connect()) {
      exit_code = 1;
      return;
    }
    ejscope::cli::console_request request(session, options->request, std::cerr);
    if (request.logic().look_up_period_numbers()) {
      std::cout << request.view().first_text() << ' ' << request.view().last_text() << std::endl;
      exit_code = 0;
    } else {
      exit_code = 2;  // the register's error or an unreadable field is on stderr
    }
    session.disconnect();
  });
}
