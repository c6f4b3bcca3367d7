// The connect button against the simulator on loopback: the handshake and
// its faults, abort, a gateway that closes, identification in both
// protocols, the device time-out, and connecting again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/connection_core.h"
#include "window/connection_window_texts.h"
#include "integration/sim_harness.h"
#include "unit/connection_fakes.h"
#include "unit/settings_temp_folder.h"

namespace ejscope {
namespace {

using testing::recording_message_box;
using testing::recording_view;
using testing::recording_wait_window;
using testing::sim_harness;
using testing::sim_test_config;
using testing::temp_folder;

// A handshake tick of 5 ms, a stream read of 150 ms.
timeouts fast_timeouts() { return timeouts{}.scaled(400); }
// For a register that stays silent: the Kelvora receive phase reads 50 times
// before it gives up, so each read waits 30 ms only.
timeouts silent_register_timeouts() {
  timeouts t = fast_timeouts();
  t.stream_ms = 30;
  return t;
}

struct main_window_on_sim {
  sim_harness& sim;
  temp_folder dir;
  recording_view view;
  recording_wait_window wait;
  recording_message_box messages;
  connection_core core;

  main_window_on_sim(sim_harness& s, sim::register_protocol p, id_kind kind, std::string id = {},
                     const timeouts& t = fast_timeouts())
      : sim(s), core(view, wait, messages, t) {
    connection_window& logic = core.logic;
    logic.set_base_folder(dir.path());
    logic.start();
    logic.choose_protocol(static_cast<int>(p));
    logic.choose_identifier_kind(static_cast<int>(kind));
    logic.edit_address(sim_harness::host());
    if (id.empty()) id = kind == id_kind::dev ? s.identity().dev_id : s.identity().fiscal_number;
    logic.edit_identifier(id);
    logic.set_port_override(s.port(p));
  }
  connection_window& logic() { return core.logic; }
  bool connect() {
    core.logic.toggle_connection();
    return core.logic.state() == connection_state::connected;
  }
  std::vector<sim::recorded_request> access_requests() const {
    std::vector<sim::recorded_request> out;
    for (const auto& r : sim.sim().requests()) {
      if (r.kind == sim::request_kind::access_request) out.push_back(r);
    }
    return out;
  }
};

TEST(connection_gateway, datecs_register_identified_by_fiscal_number) {
  sim_harness sim;
  main_window_on_sim w(sim, sim::register_protocol::datecs, id_kind::fiscal);
  ASSERT_TRUE(w.connect()) << (w.messages.shown.empty() ? "" : w.messages.shown[0].first);
  EXPECT_EQ(w.view.indicator, indicator_colour::green);
  EXPECT_EQ(w.view.caption, texts::disconnect_caption());
  EXPECT_TRUE(w.view.journal_menu);
  EXPECT_EQ(w.view.panels[3], sim.identity().datecs_firmware);
  EXPECT_FALSE(w.view.panels[1].empty());
  EXPECT_TRUE(w.logic().packet_mode());
  EXPECT_TRUE(w.messages.shown.empty());
  auto access = w.access_requests();
  ASSERT_EQ(access.size(), 1u);
  EXPECT_EQ(access[0].bytes, ":" + sim.identity().fiscal_number + ":");
  EXPECT_TRUE(access[0].valid);
}

TEST(connection_gateway, kelvora_register_identified_by_device_id) {
  sim_harness sim;
  main_window_on_sim w(sim, sim::register_protocol::kelvora, id_kind::dev);
  ASSERT_TRUE(w.connect());
  const sim::identity& id = sim.identity();
  EXPECT_EQ(w.view.panels[3], id.kelvora_firmware);
  EXPECT_TRUE(w.logic().packet_mode());
  const identification_state& state = w.logic().identification();
  ASSERT_EQ(id.header_lines.size(), 2u);
  EXPECT_EQ(state.header_lines[0], id.header_lines[0]);
  EXPECT_EQ(state.header_lines[1], id.header_lines[1]);
  EXPECT_EQ(state.header_last, 1);
  EXPECT_EQ(w.access_requests().at(0).bytes, id.dev_id);
}

TEST(connection_gateway, firmware_date_chooses_the_mode_in_both_protocols) {
  struct {
    int year, month, day;
    bool packet_mode;
  } dates[] = {{2015, 12, 4, true}, {2015, 12, 3, false}, {2015, 11, 12, false}, {2016, 1, 1, true},
               {2015, 12, 15, true}};
  for (auto p : {sim::register_protocol::datecs, sim::register_protocol::kelvora}) {
    for (const auto& d : dates) {
      sim::config cfg = sim_test_config();
      cfg.register_identity.set_firmware_date(d.year, d.month, d.day);
      sim_harness sim(cfg);
      main_window_on_sim w(sim, p, id_kind::fiscal);
      ASSERT_TRUE(w.connect());
      EXPECT_EQ(w.logic().packet_mode(), d.packet_mode)
          << static_cast<int>(p) << " " << d.year << "-" << d.month << "-" << d.day;
    }
  }
}

TEST(connection_gateway, nine_header_lines) {
  sim::config cfg = sim_test_config();
  cfg.register_identity.header_lines.clear();
  for (int i = 0; i < 12; ++i) cfg.register_identity.header_lines.push_back("line " + std::to_string(i));
  sim_harness sim(cfg);
  main_window_on_sim w(sim, sim::register_protocol::kelvora, id_kind::fiscal);
  ASSERT_TRUE(w.connect());
  EXPECT_EQ(w.logic().identification().header_last, 8);
  EXPECT_EQ(w.logic().identification().header_lines[8], "line 8");
}

TEST(connection_gateway, handshake_faults) {
  struct {
    const char* name;
    sim::fault_kind kind;
    bool on_handshake;
    std::string text;
    bool connected;
  } cases[] = {
      {"ready_in_two_writes", sim::fault_kind::ready_split, false, "", true},
      {"small_letters", sim::fault_kind::wrong_ready, false, "ready", false},
      {"line_break", sim::fault_kind::wrong_ready, false, "Ready\n", false},
      {"ready_and_zero", sim::fault_kind::wrong_ready, false, std::string("Ready\0", 6), true},
      {"closes", sim::fault_kind::close_connection, true, "", false},
      {"silence", sim::fault_kind::silence, true, "", false},
      {"split", sim::fault_kind::split, true, "", true},
  };
  for (const auto& c : cases) {
    sim_harness sim;
    sim::fault_rule rule;
    rule.kind = c.kind;
    rule.on_handshake = c.on_handshake;
    rule.text = c.text;
    sim.fault(rule);
    main_window_on_sim w(sim, sim::register_protocol::datecs, id_kind::fiscal);
    EXPECT_EQ(w.connect(), c.connected) << c.name;
    EXPECT_EQ(sim.sim().faults_injected(), 1) << c.name;
    if (!c.connected) {
      EXPECT_EQ(w.messages.texts(), std::vector<std::string>{texts::server_no_answer_settings()}) << c.name;
      EXPECT_EQ(w.view.indicator, indicator_colour::red) << c.name;
      EXPECT_FALSE(w.view.journal_menu) << c.name;
    }
    EXPECT_FALSE(w.wait.visible) << c.name;
  }
}

TEST(connection_gateway, silent_gateway_counts_down_to_zero) {
  sim_harness sim;
  sim::fault_rule rule;
  rule.kind = sim::fault_kind::silence;
  rule.on_handshake = true;
  sim.fault(rule);
  main_window_on_sim w(sim, sim::register_protocol::kelvora, id_kind::dev);
  EXPECT_FALSE(w.connect());
  ASSERT_EQ(w.wait.countdowns.size(), 240u);
  EXPECT_EQ(w.wait.countdowns.front(), "3 : 59");
  EXPECT_EQ(w.wait.countdowns.back(), "0 : 0");
}

TEST(connection_gateway, closing_gateway_ends_every_pass_at_once) {
  sim_harness sim;
  sim::fault_rule rule;
  rule.kind = sim::fault_kind::close_connection;
  rule.on_handshake = true;
  sim.fault(rule);
  main_window_on_sim w(sim, sim::register_protocol::datecs, id_kind::fiscal);
  EXPECT_FALSE(w.connect());
  // Each pass sees the closed peer at its first wait: at most a few ticks
  // of countdown while the close travels, never the whole four passes.
  EXPECT_LT(w.wait.countdowns.size(), 60u);
}

TEST(connection_gateway, unknown_register_is_not_connected) {
  for (auto kind : {id_kind::dev, id_kind::fiscal}) {
    sim_harness sim;
    main_window_on_sim w(sim, sim::register_protocol::datecs, kind, "999");
    EXPECT_FALSE(w.connect());
    EXPECT_EQ(w.messages.texts(), std::vector<std::string>{texts::server_no_answer_settings()});
    ASSERT_EQ(w.access_requests().size(), 1u);
    EXPECT_FALSE(w.access_requests()[0].valid);
  }
}

TEST(connection_gateway, abort_ends_the_wait) {
  sim_harness sim;
  sim::fault_rule rule;
  rule.kind = sim::fault_kind::silence;
  rule.on_handshake = true;
  sim.fault(rule);
  main_window_on_sim w(sim, sim::register_protocol::datecs, id_kind::fiscal);
  w.wait.abort_at = 5;
  EXPECT_FALSE(w.connect());
  EXPECT_EQ(w.wait.countdowns.size(), 5u);
  EXPECT_FALSE(w.wait.abort_requested());
  EXPECT_EQ(w.messages.texts(), std::vector<std::string>{texts::server_no_answer_settings()});
}

TEST(connection_gateway, no_gateway_at_the_address) {
  sim_harness sim;
  std::uint16_t port = sim.datecs_port();
  sim.sim().stop();
  main_window_on_sim w(sim, sim::register_protocol::datecs, id_kind::fiscal);
  w.logic().set_port_override(port);
  EXPECT_FALSE(w.connect());
  EXPECT_EQ(w.messages.texts(), std::vector<std::string>{texts::server_no_answer_address()});
}

TEST(connection_gateway, kelvora_device_timeout) {
  struct {
    const char* name;
    std::uint8_t command;
    int skip;
    int header_last;
  } cases[] = {{"diagnostic", 0x80, 0, 0}, {"second_header_line", 0x23, 1, 0}};
  for (const auto& c : cases) {
    sim_harness sim;
    sim::fault_rule rule;
    rule.kind = sim::fault_kind::silence;
    rule.command = c.command;
    rule.skip = c.skip;
    rule.times = -1;
    sim.fault(rule);
    main_window_on_sim w(sim, sim::register_protocol::kelvora, id_kind::fiscal, {}, silent_register_timeouts());
    EXPECT_FALSE(w.connect()) << c.name;
    ASSERT_FALSE(w.messages.shown.empty()) << c.name;
    EXPECT_EQ(w.messages.shown.back().first, texts::device_timeout()) << c.name;
    EXPECT_EQ(w.view.indicator, indicator_colour::red) << c.name;
    EXPECT_FALSE(w.view.journal_menu) << c.name;
    EXPECT_EQ(w.logic().identification().header_last, c.header_last) << c.name;
    if (c.command == 0x23) {
      EXPECT_EQ(w.logic().identification().header_lines[0], sim.identity().header_lines[0]);
    }
  }
}

TEST(connection_gateway, disconnect_and_connect_again) {
  sim_harness sim;
  main_window_on_sim w(sim, sim::register_protocol::datecs, id_kind::fiscal);
  ASSERT_TRUE(w.connect());
  w.logic().toggle_connection();
  EXPECT_EQ(w.logic().state(), connection_state::not_connected);
  EXPECT_FALSE(w.core.link.is_open());
  for (const auto& p : w.view.panels) EXPECT_EQ(p, "");
  ASSERT_TRUE(w.connect());
  EXPECT_EQ(sim.sim().connections_accepted(), 2);
  EXPECT_EQ(w.access_requests().size(), 2u);
}

TEST(connection_gateway, failed_handshake_then_connect_again) {
  sim_harness sim;
  sim::fault_rule rule;
  rule.kind = sim::fault_kind::wrong_ready;
  sim.fault(rule);
  main_window_on_sim w(sim, sim::register_protocol::kelvora, id_kind::dev);
  EXPECT_FALSE(w.connect());
  EXPECT_TRUE(w.core.link.is_open());  // left open until the next connect
  EXPECT_TRUE(w.connect());
  EXPECT_EQ(sim.sim().connections_accepted(), 2);
}

TEST(connection_gateway, driver_reconnects_with_the_same_access_request) {
  sim_harness sim;
  main_window_on_sim w(sim, sim::register_protocol::datecs, id_kind::fiscal);
  ASSERT_TRUE(w.connect());
  // The gateway drops the connection; the next command meets the closed
  // connection and the driver reconnects to the gateway with this window's
  // address and access request.
  sim::fault_rule rule;
  rule.kind = sim::fault_kind::close_connection;
  rule.command = 0x5A;
  sim.fault(rule);
  for (int i = 0; i < 3 && sim.sim().connections_accepted() < 2; ++i) w.core.session.datecs_diagnostic_info();
  EXPECT_EQ(sim.sim().connections_accepted(), 2);
  auto access = w.access_requests();
  ASSERT_EQ(access.size(), 2u);
  EXPECT_EQ(access[1].bytes, access[0].bytes);
  EXPECT_EQ(w.core.session.datecs_diagnostic_info().count, 8);
}

}  // namespace
}  // namespace ejscope
