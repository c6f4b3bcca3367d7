// ejscope: the command line. Each subcommand lives in its own file and is
// registered here.
#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
  CLI::App app{"ejscope: reads the electronic control tape of fiscal cash registers through a remote-access gateway"};
  app.require_subcommand(1);
  // Subcommands register below, one line each.
  CLI11_PARSE(app, argc, argv);
  return 0;
}
