#pragma once
// The subcommands of the command line, one function each; its callback sets
// the process exit status.
#include <CLI/CLI.hpp>

// One declaration per subcommand below.
void add_render_command(CLI::App& app, int& exit_code);
void add_identify_command(CLI::App& app, int& exit_code);
void add_fetch_command(CLI::App& app, int& exit_code);
void add_numbers_command(CLI::App& app, int& exit_code);
void add_print_command(CLI::App& app, int& exit_code);
