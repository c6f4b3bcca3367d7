// ejscope: the command line. Each subcommand lives in its own file as
// add_<name>_command(CLI::App&, int& exit_code) and is registered here; its
// callback sets the process exit status.
#include <CLI/CLI.hpp>

#include "cli/commands.h"

int main(int argc, char** argv) {
  CLI::App app{"ejscope: reads the electronic control tape of fiscal cash registers through a remote-access gateway"};
  app.require_subcommand(1);
  int exit_code = 0;
  // Subcommands register below, one line each.
  add_identify_command(app, exit_code);
  add_render_command(app, exit_code);
  add_fetch_command(app, exit_code);
  add_numbers_command(app, exit_code);
  add_print_command(app, exit_code);
  CLI11_PARSE(app, argc, argv);
  return exit_code;
}
