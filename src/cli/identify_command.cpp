// ejscope identify: connect to the gateway, hand over the access request,
// wait for "Ready" and identify the register, as the connect button does;
// then print what the main window would show. Exit status 0 only when the
// register ended connected.
#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/console_platform.h"
#include "register/firmware_date.h"
#include "register/identification.h"
#include "text/cp1251.h"

namespace {

using ejscope::cli::connect_options;
using ejscope::cli::console_session;

void print_identification(const ejscope::connection_window& logic, std::ostream& out) {
  using ejscope::text::cp1251_to_utf8;
  const ejscope::identification_state& id = logic.identification();
  for (int i = 0; i < ejscope::status_panel_count; ++i) {
    out << "panel " << i << ": " << cp1251_to_utf8(id.panels[static_cast<std::size_t>(i)]) << '\n';
  }
  out << "firmware date: " << cp1251_to_utf8(id.panels[3]) << '\n';
  out << "retrieval mode: " << (logic.packet_mode() ? "packet" : "fragment") << '\n';
  for (int k = 0; k <= id.header_last && k < ejscope::header_line_count; ++k) {
    const std::string& line = id.header_lines[static_cast<std::size_t>(k)];
    if (!line.empty()) out << "header line " << k << ": " << cp1251_to_utf8(line) << '\n';
  }
}

}  // namespace

void add_identify_command(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<connect_options>();
  CLI::App* command = app.add_subcommand("identify", "connect to a register through the gateway and identify it");
  ejscope::cli::add_connect_options(*command, *options);
  command->callback([options, &exit_code] {
    console_session session(*options, std::cerr, std::cin, false);
    bool connected = session.connect();
    if (connected) print_identification(session.logic(), std::cout);
    std::cout << std::flush;
    session.disconnect();
    exit_code = connected ? 0 : 1;
  });
}
