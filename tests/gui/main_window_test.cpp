// The main window as a user meets it: first start, connecting through each
// protocol, failures, abort, disconnect and the settings written at close.
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include "gui_fixture.h"
#include "ui/controls.h"

namespace ejscope::testing {
namespace {

using ui::radio_group;
using ui::shape;

class MainWindow : public gui_test {};

sim::fault_rule fault(sim::fault_kind kind) {
  sim::fault_rule rule;
  rule.kind = kind;
  return rule;
}

TEST_F(MainWindow, FirstStartWithoutSettingsCreatesTheFileAndFillsTheFields) {
  start();
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Файл ejscope.ini отсутствует.\n Создание файла!"});
  EXPECT_EQ(read_file(folder.path() / "ejscope.ini"),
            "[Connection]\r\nIPAddres=127.0.0.1\r\n[Property]\r\nColvo=1\r\nID=\r\n");
  EXPECT_EQ(utf8(address_edit()->text()), "127.0.0.1");
  EXPECT_EQ(utf8(identifier_edit()->text()), "");
  EXPECT_TRUE(app->main_logic().colvo_flag());
  EXPECT_EQ(utf8(main().windowTitle()), "Соединение с РРО вер. 1.31 от 02.03.2016");
}

TEST_F(MainWindow, ControlsStartWithTheirCaptionsAndStates) {
  write_settings("3000123456");
  start();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(utf8(control<QLabel>(&main(), "addressLabel")->text()), "IP адрес:");
  EXPECT_EQ(utf8(control<QGroupBox>(&main(), "connectionGroup")->title()), "Подключение к  сокету TCP/IP");
  auto* protocols = control<radio_group>(&main(), "protocolGroup");
  auto* kinds = control<radio_group>(&main(), "identifierKindGroup");
  EXPECT_EQ(utf8(protocols->title()), "Протокол");
  EXPECT_EQ(utf8(kinds->title()), "Призн. исп.");
  EXPECT_EQ(protocols->item_index(), 0);
  EXPECT_EQ(kinds->item_index(), 1);
  EXPECT_EQ(utf8(control<QAbstractButton>(protocols, "Item1")->text()), "Kelvora");
  EXPECT_EQ(utf8(control<QAbstractButton>(kinds, "Item0")->text()), "ID_DEV");
  EXPECT_EQ(utf8(connect_button()->text()), "Подключить");
  EXPECT_EQ(control<shape>(&main(), "connectionIndicator")->brush_color(), 255);
  EXPECT_EQ(utf8(control<QPushButton>(&main(), "closeButton")->text()), "Закрыть");
  EXPECT_TRUE(control<QPushButton>(&main(), "closeButton")->isEnabled());
  auto* klef = control<QMenu>(&main(), "journalMenu");
  EXPECT_EQ(utf8(klef->title()), "КЛЭФ");
  EXPECT_FALSE(klef->menuAction()->isEnabled());
  EXPECT_EQ(utf8(main().journal_output_action->text()), "Вывод документов в электронном виде");
  EXPECT_EQ(utf8(main().about_action->text()), "О программе...");
  EXPECT_TRUE(main().about_action->isEnabled());
  EXPECT_EQ(utf8(identifier_edit()->text()), "3000123456");
  auto* bar = control<QStatusBar>(&main(), "statusBar");
  const int widths[] = {170, 120, 120, 50};
  for (int i = 0; i < 4; ++i) {
    auto* panel = control<QLabel>(bar, ("statusPanel" + std::to_string(i)).c_str());
    // The last panel runs to the window's edge.
    if (i < 3)
      EXPECT_EQ(panel->width(), widths[i]) << "panel " << i;
    else
      EXPECT_GE(panel->width(), widths[i]);
    EXPECT_TRUE(panel->text().isEmpty());
  }
}

class MainWindowConnect : public gui_test, public ::testing::WithParamInterface<int> {};

// The panels as the simulator's register fills them: Datecs sets panels 1
// and 3 (version, firmware date), Kelvora all four.
std::vector<std::string> expected_panels(int protocol_index, const sim::identity& id) {
  if (protocol_index == 0) return {"", "3.00", "", text::cp1251_to_utf8(id.datecs_firmware)};
  return {"Kelvora-01", id.dev_id, id.fiscal_number, id.kelvora_firmware};
}

TEST_P(MainWindowConnect, ConnectsFillsThePanelsAndDisconnectClearsThem) {
  sim_harness sim;
  write_settings(sim.identity().fiscal_number);
  start();
  connect_to(sim, GetParam());
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  EXPECT_EQ(main().connection_indicator->brush_color(), 65280);
  EXPECT_EQ(utf8(connect_button()->text()), "Отключить");
  EXPECT_TRUE(main().journal_menu->menuAction()->isEnabled());
  const std::vector<std::string> panels = expected_panels(GetParam(), sim.identity());
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(utf8(main().status_panels[i]->text()), panels[i]) << "panel " << i;
  EXPECT_FALSE(app->wait_form->isVisible());

  click(connect_button());
  EXPECT_EQ(main().connection_indicator->brush_color(), 255);
  EXPECT_EQ(utf8(connect_button()->text()), "Подключить");
  EXPECT_FALSE(main().journal_menu->menuAction()->isEnabled());
  for (QLabel* panel : main().status_panels) EXPECT_TRUE(panel->text().isEmpty());
  EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(EachProtocol, MainWindowConnect,
                         ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "Datecs" : "Kelvora"; });

TEST_F(MainWindow, ConnectToAClosedPortReportsTheAddress) {
  write_settings("3000123456");
  start();
  app->main_logic().set_port_override(1);  // nothing listens on port 1 of the loopback
  click(connect_button());
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Сервер не отвечает, проверьте IP адрес"});
  EXPECT_EQ(main().connection_indicator->brush_color(), 255);
  EXPECT_EQ(utf8(connect_button()->text()), "Подключить");
  EXPECT_FALSE(main().journal_menu->menuAction()->isEnabled());
}

TEST_F(MainWindow, AWrongGatewayReplyReportsTheSettings) {
  sim_harness sim;
  sim.fault(fault(sim::fault_kind::wrong_ready));
  write_settings(sim.identity().fiscal_number);
  start();
  connect_to(sim, 0);
  EXPECT_EQ(dialogs.texts(),
            std::vector<std::string>{
                "Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)"});
  EXPECT_EQ(main().connection_indicator->brush_color(), 255);
  EXPECT_FALSE(main().journal_menu->menuAction()->isEnabled());
}

TEST_F(MainWindow, AbortInTheWaitWindowEndsTheHandshake) {
  silent_gateway gateway;
  write_settings("3000123456");
  start();
  app->main_logic().set_port_override(gateway.port());
  QString countdown_seen;
  bool shown_while_waiting = false;
  QTimer::singleShot(150, app->wait_form.get(), [&] {
    shown_while_waiting = app->wait_form->isVisible();
    countdown_seen = app->wait_form->countdown_label->text();
    click(control<QPushButton>(app->wait_form.get(), "abortButton"));
  });
  click(connect_button());
  EXPECT_TRUE(shown_while_waiting);
  EXPECT_EQ(utf8(app->wait_form->windowTitle()), "ejscope");
  EXPECT_EQ(utf8(app->wait_form->prompt_label->text()), "Запрос соединения:");
  EXPECT_EQ(utf8(app->wait_form->abort_button->text()), "Прервать");
  EXPECT_TRUE(countdown_seen.startsWith(QStringLiteral("3 : "))) << utf8(countdown_seen);
  EXPECT_EQ(dialogs.texts(),
            std::vector<std::string>{
                "Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)"});
  EXPECT_FALSE(app->wait_form->isVisible());
  EXPECT_FALSE(app->wait_form->abort_requested());
  EXPECT_EQ(main().connection_indicator->brush_color(), 255);
}

TEST_F(MainWindow, ASecondPressWhileWaitingIsRefused) {
  silent_gateway gateway;
  write_settings("3000123456");
  start();
  app->main_logic().set_port_override(gateway.port());
  int presses_seen = 0;
  QTimer::singleShot(100, app->wait_form.get(), [&] {
    click(connect_button());  // refused: the first connect is still waiting
    presses_seen = static_cast<int>(dialogs.messages.size());
    click(app->wait_form->abort_button);
  });
  click(connect_button());
  EXPECT_EQ(presses_seen, 0);
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(MainWindow, AbortDuringADatecsCommandEndsItWithoutAReply) {
  sim_harness sim;
  sim.fault(fault(sim::fault_kind::silence));  // the first reply after "Ready": 5Ah
  write_settings(sim.identity().fiscal_number);
  start();
  bool countdown_shown = false;
  QTimer::singleShot(150, app->wait_form.get(), [&] {
    countdown_shown = app->wait_form->isVisible() && !app->wait_form->countdown_label->text().isEmpty();
    click(app->wait_form->abort_button);
  });
  connect_to(sim, 0);
  EXPECT_TRUE(countdown_shown);
  EXPECT_FALSE(app->wait_form->isVisible());
  EXPECT_FALSE(app->wait_form->abort_requested());
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.front().text, "Таймаут");
}

TEST_F(MainWindow, ClosingWritesAddressAndIdentifierBack) {
  write_settings("3000123456");
  start();
  address_edit()->setText(QStringLiteral("10.0.0.7"));
  identifier_edit()->setText(QStringLiteral("KV0000001"));
  EXPECT_TRUE(main().close());
  const std::string ini = read_file(folder.path() / "ejscope.ini");
  EXPECT_NE(ini.find("IPAddres=10.0.0.7"), std::string::npos) << ini;
  EXPECT_NE(ini.find("ID=KV0000001"), std::string::npos) << ini;
}

TEST_F(MainWindow, AboutWindowShowsNameAndVersionAndCloses) {
  write_settings("");
  start();
  main().about_action->trigger();
  ui::about_dialog& about = *app->about_form;
  ASSERT_TRUE(about.isVisible());
  EXPECT_EQ(utf8(about.name_label->text()), "ejscope");
  EXPECT_EQ(utf8(about.version_label->text()), "вер. 1.31 от 02.03.2016");
  EXPECT_FALSE(about.description_label->text().isEmpty());
  click(about.ok_button);
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace ejscope::testing
