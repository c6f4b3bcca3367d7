// The request window as a user works with it: requests by numbers and by
// dates through each protocol and retrieval mode, the validation messages,
// saving, printing, and the model emptied by the main window's choices.
#include <QComboBox>
#include <QGroupBox>
#include <QTimer>
#include <algorithm>

#include "gui_fixture.h"
#include "tape/tape_walker.h"
#include "tape/documents.h"
#include "render/render_pass.h"
#include "sim/journal.h"

namespace ejscope::testing {
namespace {

constexpr int z_report = 0, check = 1, check_and_z = 2;

// The offline rendering of exactly the documents a request fetches: their
// texts in an envelope, walked, sorted and rendered with the same inputs.
std::vector<std::string> offline_render(const sim::journal& tape, int kind, int first, int last,
                                        int type, const register_header& header, bool colvo) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<RQ V=\"1\">\n";
  for (const sim::journal_document* d : tape.range(kind, first, last)) xml += d->text + "\n";
  xml += "</RQ>\n";
  auto store = std::make_unique<rq>();
  ejscope::control walk;
  walk_tape(walk, *store, xml);
  sort_documents(*store);
  render_settings settings;
  settings.document_type = type;
  settings.header = header;
  settings.colvo_flag = colvo;
  sootv z_doc_map, fetched_z;
  std::vector<std::string> lines;
  render_documents(*store, settings, std::to_string(first), std::to_string(last), z_doc_map, fetched_z,
                   lines);
  return lines;
}

class RequestWindow : public gui_test {
 protected:
  register_header header() {
    const identification_state& id = app->main_logic().identification();
    return {{id.header_lines.begin(), id.header_lines.end()}, id.header_last};
  }
  void request_numbers(int type, const std::string& first, const std::string& last) {
    request().document_type_combo->setCurrentIndex(type);
    request().first_number_edit->setText(QString::fromStdString(first));
    request().last_number_edit->setText(QString::fromStdString(last));
    click(control<QPushButton>(request().by_numbers_group, "fetchByNumbersButton"));
  }
  void set_period(const char* start_date, const char* start_time, const char* end_date,
                  const char* end_time) {
    request().start_date_edit->setText(QString::fromLatin1(start_date));
    request().start_time_edit->setText(QString::fromLatin1(start_time));
    request().end_date_edit->setText(QString::fromLatin1(end_date));
    request().end_time_edit->setText(QString::fromLatin1(end_time));
  }
  std::size_t frames_sent(sim_harness& sim) { return sim.sim().requests().size(); }
};

TEST_F(RequestWindow, OpensWithItsControlsAndInitialValues) {
  sim_harness sim;
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, 0);
  ui::request_dialog& w = request();
  EXPECT_EQ(utf8(w.windowTitle()), "Форма запроса и отображения данных");
  EXPECT_EQ(utf8(w.by_numbers_group->title()), "по номерам");
  EXPECT_EQ(utf8(w.by_period_group->title()), "по датам");
  ASSERT_EQ(w.document_type_combo->count(), 4);
  const char* items[] = {"Z-отчет", "Чек", "Чек+Z-отчет", "Внес./Изъят."};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(utf8(w.document_type_combo->itemText(i)), items[i]);
  EXPECT_EQ(w.document_type_combo->currentIndex(), 2);
  EXPECT_EQ(utf8(w.password_edit->text()), "418257");
  EXPECT_EQ(utf8(w.first_number_edit->text()), "1");
  EXPECT_EQ(utf8(w.last_number_edit->text()), "1");
  EXPECT_EQ(utf8(w.start_time_edit->text()), "00:00");
  EXPECT_EQ(utf8(w.start_date_edit->inputMask()), "00.00.00;_");
  EXPECT_EQ(utf8(w.end_time_edit->inputMask()), "90:00;_");
  // The end date is today, the start date day 01 of the month before; the end time is now.
  const std::tm now = system_clock{}.local_now();
  char today[16];
  std::strftime(today, sizeof today, "%d.%m.%y", &now);
  EXPECT_EQ(utf8(w.end_date_edit->text()), today);
  EXPECT_TRUE(w.start_date_edit->text().startsWith(QStringLiteral("01."))) << utf8(w.start_date_edit->text());
  EXPECT_EQ(w.end_time_edit->text().size(), 5);
  const std::pair<QPushButton*, const char*> buttons[] = {
      {w.fetch_by_numbers_button, "Получить"}, {w.print_range_button, "Печать на РРО"}, {w.fetch_by_period_button, "Получить"},
      {w.look_up_numbers_button, "Вернуть номера"}, {w.save_button, "Сохранить"}, {w.close_button, "Закрыть"}};
  for (const auto& [button, caption] : buttons) EXPECT_EQ(utf8(button->text()), caption);
  EXPECT_TRUE(w.display_list->font().fixedPitch());
  EXPECT_EQ(utf8(QFontInfo(w.display_list->font()).family()), "DejaVu Sans Mono");  // no Courier New here

  // Choosing "Z-отчет" on a fresh window fills the number fields from the
  // empty model's Z-report range.
  w.document_type_combo->setFocus();
  QTest::keyClick(w.document_type_combo, Qt::Key_Home);
  EXPECT_EQ(w.document_type_combo->currentIndex(), 0);
  EXPECT_EQ(utf8(w.first_number_edit->text()), "0");
  EXPECT_EQ(utf8(w.last_number_edit->text()), "0");

  click(w.close_button);
  EXPECT_FALSE(w.isVisible());
}

struct numbers_case {
  const char* name;
  int protocol;
  bool new_firmware;  // packet mode
  int type;
  int first, last;
};

class RequestByNumbers : public RequestWindow, public ::testing::WithParamInterface<numbers_case> {};

TEST_P(RequestByNumbers, ShowsTheRenderedDocumentsOfTheRange) {
  const numbers_case& c = GetParam();
  sim::config cfg = sim_test_config();
  if (!c.new_firmware) cfg.register_identity.set_firmware_date(2015, 11, 12);
  sim_harness sim(cfg);
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, c.protocol);
  ASSERT_EQ(app->main_logic().packet_mode(), c.new_firmware);

  // What the attention window's labels showed whenever they were painted.
  struct label_spy : QObject {
    QLabel* label = nullptr;
    std::vector<QString> seen;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint && (seen.empty() || seen.back() != label->text()))
        seen.push_back(label->text());
      return false;
    }
  } phase, progress;
  phase.label = app->attention_form->phase_label;
  progress.label = app->attention_form->progress_label;
  app->attention_form->phase_label->installEventFilter(&phase);
  app->attention_form->progress_label->installEventFilter(&progress);
  const std::vector<QString>& phases = phase.seen;

  request_numbers(c.type, std::to_string(c.first), std::to_string(c.last));
  app->attention_form->phase_label->removeEventFilter(&phase);
  app->attention_form->progress_label->removeEventFilter(&progress);

  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  const int kind = c.type == z_report ? sim::kind_z_report : sim::kind_document;
  const std::vector<std::string> expected =
      offline_render(sim.tape(), kind, c.first, c.last, c.type, header(), true);
  ASSERT_GT(expected.size(), 10u);
  EXPECT_EQ(shown_lines(), expected);
  EXPECT_TRUE(request().isVisible());
  EXPECT_FALSE(app->attention_form->isVisible());
  EXPECT_EQ(utf8(app->attention_form->windowTitle()), "ВНИМАНИЕ!!!!");
  ASSERT_GE(phases.size(), 2u);
  EXPECT_EQ(utf8(phases.front()), "ИДЁТ ЗАГРУЗКА ДАННЫХ....");
  EXPECT_EQ(utf8(phases.back()), "ИДЁТ ОБРАБОТКА ДАННЫХ....");
  EXPECT_TRUE(app->attention_form->progress_label->text().isEmpty());
  // The progress of the first document: 0.00%, five blanks and its number.
  const QString first_progress = QStringLiteral("0.00%     ") + QString::number(c.first);
  EXPECT_NE(std::find(progress.seen.begin(), progress.seen.end(), first_progress), progress.seen.end())
      << "progress texts seen: " << progress.seen.size();
  EXPECT_EQ(read_file(folder.path() / "temp.xml").rfind("<RQ V=\"1\">", 200) != std::string::npos, true);
}

INSTANTIATE_TEST_SUITE_P(
    EachProtocolAndMode, RequestByNumbers,
    ::testing::Values(numbers_case{"DatecsPacketReceipts", 0, true, check, 2, 5},
                      numbers_case{"DatecsFragmentBoth", 0, false, check_and_z, 8, 12},
                      numbers_case{"KelvoraPacketBoth", 1, true, check_and_z, 9, 11},
                      numbers_case{"KelvoraFragmentReceipts", 1, false, check, 3, 4},
                      numbers_case{"DatecsPacketZReport", 0, true, z_report, 1, 1},
                      numbers_case{"KelvoraFragmentZReport", 1, false, z_report, 2, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// A period always names receipt numbers, so the cases carry no Z-report type.
class RequestByDates : public RequestByNumbers {};

TEST_P(RequestByDates, ShowsTheDocumentsOfThePeriodAfterLookingUpItsNumbers) {
  const numbers_case& c = GetParam();
  sim::config cfg = sim_test_config();
  if (!c.new_firmware) cfg.register_identity.set_firmware_date(2015, 11, 12);
  sim_harness sim(cfg);
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, c.protocol);
  // The synthetic tape's documents are ten minutes apart from 01.03.2016 08:00.
  set_period("01.03.16", "08:00", "01.03.16", "09:00");
  click(request().look_up_numbers_button);
  const auto period = sim.tape().period("201603010800", "201603010900");
  ASSERT_TRUE(period.has_value());
  EXPECT_EQ(utf8(request().first_number_edit->text()), std::to_string(period->first));
  EXPECT_EQ(utf8(request().last_number_edit->text()), std::to_string(period->second));

  request().document_type_combo->setCurrentIndex(c.type);
  click(request().fetch_by_period_button);
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  EXPECT_EQ(shown_lines(), offline_render(sim.tape(), sim::kind_document, period->first, period->second,
                                          c.type, header(), true));
}

INSTANTIATE_TEST_SUITE_P(
    EachProtocolAndMode, RequestByDates,
    ::testing::Values(numbers_case{"DatecsPacketReceipts", 0, true, check, 0, 0},
                      numbers_case{"DatecsFragmentBoth", 0, false, check_and_z, 0, 0},
                      numbers_case{"KelvoraPacketBoth", 1, true, check_and_z, 0, 0},
                      numbers_case{"KelvoraFragmentReceipts", 1, false, check, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct validation_case {
  const char* first;
  const char* last;
  const char* message;
};

TEST_F(RequestWindow, NumbersThatFailValidationShowTheirMessageAndSendNothing) {
  sim_harness sim;
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, 0);
  const validation_case cases[] = {
      {"0", "5", "Началный номер должен быть >0!"},
      {"7", "3", "Конечный номер должен быть не меньше начального!"},
  };
  for (const validation_case& c : cases) {
    dialogs.messages.clear();
    const std::size_t sent = frames_sent(sim);
    request_numbers(check, c.first, c.last);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{c.message}) << c.first << ".." << c.last;
    EXPECT_EQ(frames_sent(sim), sent);
    EXPECT_TRUE(shown_lines().empty());
    EXPECT_TRUE(request().isVisible());
  }
  dialogs.messages.clear();
  set_period("15.03.16", "00:00", "14.03.16", "23:59");
  click(request().fetch_by_period_button);
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Конечная дата должна быть не меньше начальной!"});
}

TEST_F(RequestWindow, TextsThatAreNoNumbersEndInTheTwoFailureLines) {
  sim_harness sim;
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, 0);
  const std::vector<std::string> failure = {
      text::utf8_to_cp1251("Непредвиденный сбой в структуре получаемой информации!"),
      text::utf8_to_cp1251("Попробуйте выбрать другой диапазон номеров или дат!")};
  request_numbers(check, "abc", "5");
  EXPECT_EQ(shown_lines(), failure);
  set_period("01.03.16", "08:00", "01.03.16", "09:00");
  request().end_date_edit->setText(QStringLiteral("01.0"));  // an incomplete date
  click(request().fetch_by_period_button);
  std::vector<std::string> twice = failure;
  twice.insert(twice.end(), failure.begin(), failure.end());
  EXPECT_EQ(shown_lines(), twice);
  EXPECT_TRUE(request().isVisible());
}

TEST_F(RequestWindow, SaveWritesTheShownLinesByteForByte) {
  sim_harness sim;
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, 1);
  request_numbers(check_and_z, "8", "11");
  const std::vector<std::string> lines = shown_lines();
  ASSERT_FALSE(lines.empty());
  std::string expected;
  for (const std::string& line : lines) expected += line + "\r\n";

  dialogs.save_answer = (folder.path() / "documents.txt").string();
  click(request().save_button);
  ASSERT_EQ(dialogs.save_requests.size(), 1u);
  EXPECT_EQ(dialogs.save_requests[0].filter, "*.txt");
  EXPECT_EQ(dialogs.save_requests[0].file_name, "*.txt");
  EXPECT_EQ(dialogs.save_requests[0].default_suffix, "txt");
  EXPECT_EQ(read_file(folder.path() / "documents.txt"), expected);

  const auto files = [&] {
    return std::distance(std::filesystem::directory_iterator(folder.path()), {});
  };
  const auto before = files();
  dialogs.save_answer.clear();  // cancelled: nothing written
  click(request().save_button);
  EXPECT_EQ(files(), before);
  dialogs.save_answer = (folder.path() / "missing" / "x.txt").string();
  click(request().save_button);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text.rfind("Cannot create file", 0), 0u) << dialogs.messages[0].text;
  EXPECT_EQ(shown_lines(), lines);
}

TEST_F(RequestWindow, PrintAsksFirstAndSendsOnlyOnYes) {
  sim_harness sim;
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, 0);
  request().document_type_combo->setCurrentIndex(check);
  request().first_number_edit->setText(QStringLiteral("5"));
  request().last_number_edit->setText(QStringLiteral("9"));
  for (const bool yes : {false, true}) {
    dialogs.messages.clear();
    dialogs.answers = {yes};
    click(request().print_range_button);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.messages[0].question);
    EXPECT_EQ(dialogs.messages[0].text, "Печать требует затрат бумажной ленты");
    EXPECT_EQ(dialogs.messages[0].caption, "Продолжить?");
    EXPECT_EQ(sim.sim().printed().size(), yes ? 1u : 0u) << (yes ? "Yes" : "No");
  }
  const auto printed = sim.sim().printed();
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0].first, 5);
  EXPECT_EQ(printed[0].last, 9);
  EXPECT_TRUE(shown_lines().empty());
}

TEST_F(RequestWindow, EditingTheIdentifierOrSwitchingProtocolEmptiesModelAndCaches) {
  sim_harness sim;
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, 0);
  const std::function<void()> changes[] = {
      [&] { identifier_edit()->setText(QStringLiteral("3000999999")); },
      [&] { click(control<QAbstractButton>(main().protocol_group, "Item1")); },
  };
  for (const auto& change : changes) {
    request_numbers(check_and_z, "2", "4");
    ASSERT_GT(app->request_logic().model().doc_index, 0);
    ASSERT_TRUE(app->request_logic().fetched_ranges().count() > 0 ||
                app->request_logic().fetched_docs().has_entries());
    change();
    EXPECT_EQ(app->request_logic().model().doc_index, 0);
    EXPECT_EQ(app->request_logic().fetched_ranges().count(), 0);
    EXPECT_FALSE(app->request_logic().fetched_docs().has_entries());
    EXPECT_FALSE(app->request_logic().z_doc_map().has_entries());
    // Back to the simulator's register and protocol for the next round.
    identifier_edit()->setText(QString::fromStdString(sim.identity().fiscal_number));
    click(control<QAbstractButton>(main().protocol_group, "Item0"));
  }
}

TEST_F(RequestWindow, AnIdentifierTypedDuringARequestEmptiesTheModelAfterIt) {
  sim::config cfg = sim_test_config();
  cfg.register_identity.set_firmware_date(2015, 11, 12);  // fragment mode lets events run
  sim_harness sim(cfg);
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, 0);
  bool typed_while_busy = false;
  QTimer::singleShot(0, &main(), [&] {
    typed_while_busy = app->busy();
    identifier_edit()->setText(QStringLiteral("3000999999"));
  });
  request_numbers(check, "2", "6");
  EXPECT_TRUE(typed_while_busy);
  EXPECT_EQ(shown_lines(), offline_render(sim.tape(), sim::kind_document, 2, 6, check, header(), true));
  EXPECT_EQ(app->request_logic().model().doc_index, 0);
  EXPECT_FALSE(app->request_logic().fetched_docs().has_entries());
}

TEST_F(RequestWindow, TimeFieldsHandTheLogicTheHourAsTyped) {
  write_settings("");
  start();
  struct typed_case {
    const char* keys;
    const char* given;
  } cases[] = {{"0905", "09:05"}, {"9:05", " 9:05"}, {"1230", "12:30"}, {"", "  :  "}};
  for (const typed_case& c : cases) {
    request().start_time_edit->clear();
    request().start_time_edit->setFocus();
    request().start_time_edit->home(false);
    QTest::keyClicks(request().start_time_edit, QString::fromLatin1(c.keys));
    EXPECT_EQ(request().start_time_text(), c.given) << c.keys;
  }
}

TEST_F(RequestWindow, TheDisplayListCarriesAMillionLinesAsTheyAre) {
  write_settings("");
  start();
  std::vector<std::string> lines(1'000'000, std::string("  Line with trailing blanks    "));
  lines.back() = text::utf8_to_cp1251("  Сума                          12.50   ");
  request().display_changed(lines);
  request().show();
  request().display_list->scrollToBottom();
  QCoreApplication::processEvents();
  QAbstractItemModel* model = request().display_list->model();
  ASSERT_EQ(model->rowCount(), 1'000'000);
  EXPECT_EQ(utf8(model->data(model->index(999'999, 0)).toString()), "  Сума                          12.50   ");
  EXPECT_EQ(utf8(model->data(model->index(0, 0)).toString()), "  Line with trailing blanks    ");
  request().display_changed(app->request_logic().display());
}

}  // namespace
}  // namespace ejscope::testing
