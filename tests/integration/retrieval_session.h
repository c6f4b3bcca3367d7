#pragma once
// One run of the program's road against the in-process simulator: the main
// window's logic connects and identifies the register, the request window's
// logic retrieves through the drivers or the packet exchange.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "window/connection_core.h"
#include "integration/sim_harness.h"
#include "tape/tape_walker.h"
#include "render/render_pass.h"
#include "window/connection_environment.h"
#include "window/journal_window.h"
#include "retrieval/session_journal_commands.h"
#include "unit/connection_fakes.h"
#include "unit/retrieval_fakes.h"

namespace ejscope::testing {

// Fast enough for tests, slow enough for loopback.
inline timeouts test_timeouts() { return timeouts{}.scaled(60); }

class retrieval_session {
 public:
  retrieval_session(sim_harness& sim, sim::register_protocol p, const std::string& name,
                    const timeouts& limits = test_timeouts())
      : core_(main_view_, wait_, messages_, limits),
        commands_(core_.session),
        request_(view, messages_, connection_environment(core_.logic, core_.link, commands_, limits)) {
    folder_ = std::filesystem::path(::testing::TempDir()) / ("retrieval_" + name);
    std::filesystem::create_directories(folder_);
    request_.set_temp_xml_path(folder_ / "temp.xml");
    empty_model_on_reset(core_.logic, request_);
    core_.logic.set_base_folder(folder_);
    core_.logic.start();
    core_.logic.edit_address(sim_harness::host());
    core_.logic.choose_protocol(static_cast<int>(p));
    core_.logic.choose_identifier_kind(0);
    core_.logic.edit_identifier(sim.identity().dev_id);
    core_.logic.set_port_override(sim.port(p));
  }

  bool connect() {
    core_.logic.toggle_connection();
    return core_.logic.state() == connection_state::connected;
  }

  // A request by numbers of the given document type.
  void by_numbers(int first, int last, int type) {
    view.type = type;
    view.first = std::to_string(first);
    view.last = std::to_string(last);
    request_.fetch_by_numbers();
  }

  journal_window& request() { return request_; }
  connection_window& main() { return core_.logic; }
  recording_message_box& messages() { return messages_; }
  std::filesystem::path temp_xml() const { return folder_ / "temp.xml"; }

  // The offline rendering of a tape text over the typed range, with the
  // header lines this run's identification read.
  std::vector<std::string> offline(const std::string& tape, int type) const {
    rq store;
    control walk;
    walk_tape(walk, store, tape);
    sort_documents(store);
    render_settings settings;
    settings.document_type = type;
    const identification_state& id = core_.logic.identification();
    settings.header = register_header{{id.header_lines.begin(), id.header_lines.end()}, id.header_last};
    sootv z_doc_map, fetched_z;
    std::vector<std::string> lines;
    render_documents(store, settings, view.first, view.last, z_doc_map, fetched_z, lines);
    return lines;
  }

  recording_request_view view;

 private:
  testing::recording_view main_view_;
  recording_wait_window wait_;
  recording_message_box messages_;
  connection_core core_;
  session_journal_commands commands_;
  journal_window request_;
  std::filesystem::path folder_;
};

}  // namespace ejscope::testing
