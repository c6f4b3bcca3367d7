// The main window's logic: start-up with the settings file, the connect
// and disconnect button with its states, messages and captions, and the
// choices that empty the request window's model.
#include <gtest/gtest.h>

#include <string>

#include "window/connection_window.h"
#include "window/connection_window_texts.h"
#include "unit/connection_fakes.h"
#include "unit/fake_gateway_link.h"
#include "unit/settings_temp_folder.h"

namespace ejscope {
namespace {

using namespace std::string_literals;
using testing::fake_gateway_link;
using testing::recording_clock;
using testing::recording_message_box;
using testing::recording_view;
using testing::recording_wait_window;
using testing::scripted_register;
using testing::temp_folder;

struct main_window_run {
  temp_folder dir;
  recording_view view;
  fake_gateway_link link;
  recording_wait_window wait;
  recording_message_box messages;
  recording_clock clk;
  scripted_register reg;
  connection_window logic{view, link, wait, messages, clk, reg};
  int model_resets = 0;

  main_window_run() {
    logic.set_base_folder(dir.path());
    logic.set_model_reset([this] { ++model_resets; });
    logic.start();
  }
  void settings(const std::string& bytes) { dir.put("ejscope.ini", bytes); }
};

TEST(main_window, create_selects_datecs_and_fiscal_number) {
  main_window_run w;
  EXPECT_EQ(w.view.titles.back(), texts::window_title());
  EXPECT_EQ(w.view.protocol_index, 0);
  EXPECT_EQ(w.view.id_kind_index, 1);
  EXPECT_EQ(w.view.indicator, indicator_colour::red);
  EXPECT_EQ(w.view.caption, texts::connect_caption());
  EXPECT_FALSE(w.view.journal_menu);
  EXPECT_EQ(w.logic.port(), datecs_port);
}

TEST(main_window, first_activation_creates_the_settings_file) {
  main_window_run w;
  w.logic.activate();
  EXPECT_EQ(w.messages.texts(), std::vector<std::string>{texts::settings_missing()});
  EXPECT_EQ(w.dir.take("ejscope.ini"), "[Connection]\r\nIPAddres=127.0.0.1\r\n[Property]\r\nColvo=1\r\nID=\r\n");
  EXPECT_EQ(w.view.address, "127.0.0.1");
  EXPECT_EQ(w.view.identifier, "");
  EXPECT_TRUE(w.logic.colvo_flag());
  EXPECT_TRUE(w.view.close_enabled);
  EXPECT_TRUE(w.view.about_enabled);
  EXPECT_EQ(w.clk.sleeps, (std::vector<int>{100, 1000}));
  ASSERT_GE(w.view.titles.size(), 4u);
  EXPECT_EQ(w.view.titles[w.view.titles.size() - 2], texts::startup_step_title() + "1");
  EXPECT_EQ(w.view.titles.back(), texts::window_title());

  w.logic.activate();  // the file is there now: no second message
  EXPECT_EQ(w.messages.shown.size(), 1u);
}

TEST(main_window, activation_reloads_the_stored_values) {
  main_window_run w;
  w.settings("[Connection]\r\nIPAddres=192.168.100.200.77\r\n[Property]\r\nID=KV0000001\r\nColvo=01\r\n");
  w.logic.activate();
  EXPECT_TRUE(w.messages.shown.empty());
  EXPECT_EQ(w.view.address, "192.168.100.200");
  EXPECT_EQ(w.view.identifier, "KV0000001");
  EXPECT_FALSE(w.logic.colvo_flag());
  EXPECT_EQ(w.model_resets, 1);  // the identifier changed

  w.logic.edit_address("10.1.1.1");
  w.logic.edit_identifier("KV0000002");
  EXPECT_EQ(w.model_resets, 2);
  w.logic.activate();
  EXPECT_EQ(w.logic.address(), "192.168.100.200");
  EXPECT_EQ(w.logic.identifier(), "KV0000001");
  EXPECT_EQ(w.model_resets, 3);
  w.logic.activate();  // same text again: not an edit
  EXPECT_EQ(w.model_resets, 3);
}

TEST(main_window, close_writes_both_fields) {
  main_window_run w;
  w.settings("[Connection]\r\nIPAddres=1.2.3.4\r\n[Property]\r\nColvo=1\r\nID=X\r\n");
  w.logic.activate();
  w.logic.edit_address("");
  w.logic.edit_identifier("");
  w.logic.close();
  EXPECT_EQ(w.dir.take("ejscope.ini"), "[Connection]\r\nIPAddres=\r\n[Property]\r\nColvo=1\r\nID=\r\n");
}

TEST(main_window, choices_enable_the_button_and_empty_the_model) {
  main_window_run w;
  w.logic.choose_protocol(1);
  EXPECT_TRUE(w.view.connect_enabled);
  EXPECT_EQ(w.model_resets, 1);
  EXPECT_EQ(w.logic.port(), kelvora_port);
  w.logic.choose_identifier_kind(0);
  EXPECT_EQ(w.model_resets, 1);
  w.logic.edit_identifier("123");
  EXPECT_EQ(w.model_resets, 2);
  EXPECT_EQ(w.logic.reconnect_target().access_request, "123\0\0\0\0\0\0"s);
}

// A connect to a gateway that answers "Ready", with the register scripted.
struct connect_case : main_window_run {
  connect_case(int protocol_index, int kind_index, const std::string& id) {
    logic.choose_protocol(protocol_index);
    logic.choose_identifier_kind(kind_index);
    logic.edit_address("gateway.test");
    logic.edit_identifier(id);
  }
};

TEST(main_window, datecs_connect_ends_connected) {
  connect_case w(0, 1, "3000123456");
  w.link.push_read("Ready");
  w.reg.script_datecs("4Dec15");
  w.logic.toggle_connection();
  EXPECT_EQ(w.link.host(), "gateway.test");
  EXPECT_EQ(w.link.port(), datecs_port);
  EXPECT_EQ(w.link.timeout_ms(), 60000);
  EXPECT_EQ(w.link.all_written(), ":3000123456:");
  EXPECT_EQ(w.logic.state(), connection_state::connected);
  EXPECT_EQ(w.view.indicator, indicator_colour::green);
  EXPECT_EQ(static_cast<int>(w.view.indicator), 65280);
  EXPECT_EQ(w.view.caption, texts::disconnect_caption());
  EXPECT_TRUE(w.view.journal_menu);
  EXPECT_EQ(w.view.panels[1], "DP-25");
  EXPECT_EQ(w.view.panels[3], "4Dec15");
  EXPECT_TRUE(w.logic.packet_mode());
  EXPECT_TRUE(w.messages.shown.empty());
  EXPECT_TRUE(w.reg.retry_counts.empty());  // handed to the Kelvora driver only
}

TEST(main_window, disconnect_only_closes_and_clears_the_panels) {
  connect_case w(1, 0, "KV0000001");
  w.link.push_read("Ready");
  w.reg.script_kelvora("Jan 15 2016", {"TOV"});
  w.logic.toggle_connection();
  ASSERT_EQ(w.logic.state(), connection_state::connected);
  std::size_t writes = w.link.writes().size();
  std::size_t commands = w.reg.log.size();
  w.logic.toggle_connection();
  EXPECT_EQ(w.logic.state(), connection_state::not_connected);
  EXPECT_FALSE(w.link.is_open());
  EXPECT_EQ(w.link.writes().size(), writes);
  EXPECT_EQ(w.reg.log.size(), commands);
  for (const auto& p : w.view.panels) EXPECT_EQ(p, "");
  EXPECT_EQ(w.view.indicator, indicator_colour::red);
  EXPECT_EQ(static_cast<int>(w.view.indicator), 255);
  EXPECT_EQ(w.view.caption, texts::connect_caption());
  EXPECT_FALSE(w.view.journal_menu);
  EXPECT_EQ(w.logic.identification().header_lines[0], "TOV");  // kept after disconnect
  EXPECT_TRUE(w.logic.packet_mode());
}

TEST(main_window, failures_and_their_messages) {
  enum class script { open_fails, silence, wrong_reply, peer_closes, kelvora_timeout, bad_date };
  struct {
    const char* name;
    script what;
    int protocol_index;
    std::string message;
  } cases[] = {
      {"open_fails", script::open_fails, 0, texts::server_no_answer_address()},
      {"silence", script::silence, 0, texts::server_no_answer_settings()},
      {"wrong_reply", script::wrong_reply, 0, texts::server_no_answer_settings()},
      {"peer_closes", script::peer_closes, 1, texts::server_no_answer_settings()},
      {"kelvora_timeout", script::kelvora_timeout, 1, texts::device_timeout()},
      {"bad_date", script::bad_date, 0, texts::bad_firmware_date() + "\"4\""},
  };
  for (const auto& c : cases) {
    connect_case w(c.protocol_index, 1, "3000123456");
    switch (c.what) {
      case script::open_fails: w.link.fail_next_open(); break;
      case script::silence: break;
      case script::wrong_reply: w.link.push_read("ready"); break;
      case script::peer_closes:
        for (int i = 0; i < 4; ++i) w.link.push_peer_closed();
        break;
      case script::kelvora_timeout: w.link.push_read("Ready"); break;
      case script::bad_date:
        w.link.push_read("Ready");
        w.reg.datecs.push_back(testing::record({"DP-25", "4", "", "", "", "", "", ""}));
        break;
    }
    w.logic.toggle_connection();
    EXPECT_EQ(w.messages.texts(), std::vector<std::string>{c.message}) << c.name;
    EXPECT_EQ(w.logic.state(), connection_state::not_connected) << c.name;
    EXPECT_EQ(w.view.indicator, indicator_colour::red) << c.name;
    EXPECT_EQ(w.view.caption, texts::connect_caption()) << c.name;
    EXPECT_FALSE(w.view.journal_menu) << c.name;
    EXPECT_FALSE(w.wait.visible) << c.name;
    if (c.what == script::open_fails) {
      EXPECT_TRUE(w.link.writes().empty());
    }
    if (c.what == script::bad_date) {
      EXPECT_EQ(w.view.panels[3], "4");
    }
  }
}

TEST(main_window, next_connect_closes_a_connection_left_open) {
  connect_case w(0, 0, "KV0000001");
  w.link.push_read("Nope");
  w.logic.toggle_connection();
  EXPECT_TRUE(w.link.is_open());  // a failed handshake leaves it open
  w.link.push_read("Ready");
  w.reg.script_datecs("1Jan16");
  w.logic.toggle_connection();
  EXPECT_EQ(w.link.open_count(), 2);
  EXPECT_EQ(w.logic.state(), connection_state::connected);
  EXPECT_EQ(w.link.all_written(), "KV0000001KV0000001");
}

TEST(main_window, first_connect_settings_are_read_once) {
  connect_case w(1, 1, "3000123456");
  w.settings("[LogFile]\r\nLog=1\r\nLogName=exchange.log\r\n[Fiscal Printer]\r\nReply=3\r\n");
  w.link.push_read("Ready");
  w.reg.script_kelvora("Jan 15 2016", {});
  w.logic.toggle_connection();
  w.logic.toggle_connection();  // disconnect
  w.settings("[LogFile]\r\nLog=1\r\nLogName=other.log\r\n[Fiscal Printer]\r\nReply=7\r\n");
  w.link.push_read("Ready");
  w.reg.script_kelvora("Jan 15 2016", {});
  w.logic.toggle_connection();
  EXPECT_EQ(w.reg.log_files, std::vector<std::string>{"exchange.log"});
  EXPECT_EQ(w.reg.retry_counts, (std::vector<int>{3, 3}));
  EXPECT_EQ(w.link.port(), kelvora_port);
}

TEST(main_window, port_override_replaces_the_protocol_port) {
  connect_case w(1, 1, "3000123456");
  w.logic.set_port_override(40123);
  w.link.push_read("Ready");
  w.reg.script_kelvora("Jan 15 2016", {});
  w.logic.toggle_connection();
  EXPECT_EQ(w.link.port(), 40123);
}

// A press while the wait window counts down is not a second connect.
class pressing_wait_window : public recording_wait_window {
 public:
  connection_window* logic = nullptr;
  void process_events() override {
    recording_wait_window::process_events();
    if (logic != nullptr && events == 2) logic->toggle_connection();
  }
};

TEST(main_window, press_during_the_wait_is_ignored) {
  temp_folder dir;
  recording_view view;
  fake_gateway_link link;
  pressing_wait_window wait;
  recording_message_box messages;
  recording_clock clk;
  scripted_register reg;
  connection_window logic{view, link, wait, messages, clk, reg};
  logic.set_base_folder(dir.path());
  logic.start();
  wait.logic = &logic;
  link.push_read("");
  link.push_read("Ready");
  reg.script_datecs("1Jan16");
  logic.toggle_connection();
  EXPECT_EQ(link.open_count(), 1);
  EXPECT_EQ(logic.state(), connection_state::connected);
}

}  // namespace
}  // namespace ejscope
