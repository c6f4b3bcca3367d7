// The sale receipt and the service receipt, byte for byte.
#include <gtest/gtest.h>

#include <functional>

#include "render/receipt_layout.h"
#include "render/render_error.h"
#include "render/text_rules.h"
#include "render_support.h"
#include "text/base64.h"

namespace ejscope {
namespace {

using render_testing::add_end;
using render_testing::add_line;
using render_testing::blanks;
using render_testing::receipt_document;
using render_testing::row;
using render_testing::row2;
using render_testing::utf8_lines;
using render_testing::w;

const std::string rule = "  " + std::string(38, '-');
const std::string footer_zero = "  000000000 000000  31.03.2016  14:30" + blanks(10);

std::vector<std::string> sale_lines(const dat& d, bool colvo = false, const register_header& header = {}) {
  std::vector<std::string> display;
  render_sale_receipt(display, d, "FN0001", header, colvo);
  return utf8_lines(display);
}

// The lines between the opening block (header, cash desk, rule) and the
// closing block (footer, kind line, two rules) of a receipt of `T` 0.
std::vector<std::string> body_of(const std::vector<std::string>& lines) {
  if (lines.size() < 10) return {"(receipt too short)"};
  return {lines.begin() + 6, lines.end() - 4};
}

sale item(std::string_view name, float sm, float q = 0, float prc = 0, std::string tx = "1") {
  sale s;
  s.NM = w(name);
  s.SM = sm;
  s.Q = q;
  s.PRC = prc;
  s.TX = std::move(tx);
  return s;
}

sale_up_down up_down(float tr, float ty, float pr, float sm, std::string tx) {
  sale_up_down u;
  u.TR = tr;
  u.TY = ty;
  u.PR = pr;
  u.SM = sm;
  u.TX = std::move(tx);
  return u;
}

struct body_case {
  const char* name;
  std::function<void(check&)> fill;
  bool colvo;
  std::vector<std::string> expected;
};

std::string name70() {
  std::string n;
  for (int i = 0; i < 7; ++i) n += "Абвгдежзий";
  return n;
}
// Characters [from, from + count) of a UTF-8 name, counted in windows-1251 bytes.
std::string part(const std::string& utf8, std::size_t from, std::size_t count) {
  return text::cp1251_to_utf8(w(utf8).substr(from, count));
}

TEST(RenderSaleReceipt, LaysOutEveryKindOfItemLine) {
  const std::string n70 = name70();
  const std::string n33 = part(n70, 0, 33);
  const std::string n45 = part(n70, 0, 45);
  const std::vector<body_case> cases = {
      {"P with quantity wraps its name at 34",
       [&](check& r) { add_line(r, r.p_lines, r.p_count, line_kinds::P, item(n70, 2500, 2000, 1250)); }, false,
       {"  " + part(n70, 0, 34), "  " + part(n70, 34, 34), "  " + part(n70, 68, 2),
        row("  2.000. X 12.50 =", "25.00 A", 39, 53)}},
      {"P without quantity",
       [&](check& r) { add_line(r, r.p_lines, r.p_count, line_kinds::P, item(n70, 2500)); }, false,
       {"  " + part(n70, 0, 34), "  " + part(n70, 34, 34), row("  " + part(n70, 68, 2), "25.00 A", 39, 46)}},
      {"P without quantity, colvo form",
       [&](check& r) { add_line(r, r.p_lines, r.p_count, line_kinds::P, item(n70, 2500)); }, true,
       {"  " + part(n70, 0, 34), "  " + part(n70, 34, 34),
        row("  " + part(n70, 68, 2), " 1.000 X 25.00 = 25.00A", 38, 46)}},
      {"a name rest of 33 characters is partly covered by the value",
       [&](check& r) { add_line(r, r.p_lines, r.p_count, line_kinds::P, item(n33, 2500)); }, false,
       {row("  " + part(n33, 0, 30), "25.00 A", 39, 42)}},
      {"CP keeps its whole name and ignores the colvo form",
       [&](check& r) { add_line(r, r.cp_lines, r.cp_count, line_kinds::CP, item(n45, 2500)); }, true,
       {"  " + part(n45, 0, 30) + "25.00 A" + part(n45, 37, 8) + blanks(7)}},
      {"CP with quantity in whole units",
       [&](check& r) { add_line(r, r.cp_lines, r.cp_count, line_kinds::CP, item(n45, 3750, 3000, 1250)); }, false,
       {"  " + n45, row("  3. X 12.50 =", "37.50 A", 39, 49)}},
      {"discount by a sum on the sum",
       [](check& r) { add_line(r, r.d_lines, r.d_count, line_kinds::D, up_down(1, 0, 0, 100, "1")); }, false,
       {row("    Знижка  на Суму", "-1.00 A", 39, 54)}},
      {"discount in percent on the tax",
       [](check& r) { add_line(r, r.d_lines, r.d_count, line_kinds::D, up_down(2, 1, 10, 100, "1")); }, false,
       {row("    Знижка -10.00% на Податок", "-1.00 A", 39, 64)}},
      {"discount without a tax text is marked *",
       [](check& r) { add_line(r, r.d_lines, r.d_count, line_kinds::D, up_down(3, 1, 5, 100, "")); }, false,
       {row("    Знижка -5.00%", "-1.00 *", 39, 52)}},
      {"surcharge in percent",
       [](check& r) { add_line(r, r.s_lines, r.s_count, line_kinds::S, up_down(1, 1, 5, 50, "2")); }, false,
       {row("    Надбавка 5.00%", "0.50 Б", 39, 53)}},
      {"surcharge by a sum",
       [](check& r) { add_line(r, r.s_lines, r.s_count, line_kinds::S, up_down(1, 0, 5, 50, "")); }, false,
       {row("    Надбавка 5.00", "0.50 *", 39, 52)}},
      {"cash in and cash out have no margin",
       [](check& r) {
         add_line(r, r.i_lines, r.i_count, line_kinds::I, sale_in_out{1, 0, "", 50000});
         add_line(r, r.o_lines, r.o_count, line_kinds::O, sale_in_out{2, 0, "", 40000});
       },
       false, {row("  Внесок", "500.00", 37, 43), row("  Видача", "-400.00", 37, 43)}},
      {"text and service lines",
       [](check& r) {
         add_line(r, r.l_lines, r.l_count, line_kinds::L, sale_comment{1, w("Дякуємо!")});
         add_line(r, r.h_lines, r.h_count, line_kinds::H, sale_serv_info{2, "0", "BarBitLine", "4820000000011"});
         add_line(r, r.h_lines, r.h_count, line_kinds::H,
                  sale_serv_info{3, "0", "QR", text::base64_encode(std::string("hi\nthere\0", 9))});
       },
       false, {"  Дякуємо!", "  BarBitLine 4820000000011", "  QR hi?there?"}},
      {"lines come in the order of their numbers, not of their kinds",
       [](check& r) {
         add_line(r, r.s_lines, r.s_count, line_kinds::S, up_down(1, 1, 5, 50, "1"));
         add_line(r, r.p_lines, r.p_count, line_kinds::P, item("Хліб", 1850));
       },
       false, {row("    Надбавка 5.00%", "0.50 A", 39, 53), row("  Хліб", "18.50 A", 39, 48)}},
      {"a line without a number prints nothing",
       [](check& r) {
         add_line(r, r.l_lines, r.l_count, line_kinds::L, sale_comment{1, "one"});
         add_line(r, r.l_lines, r.l_count, line_kinds::L, sale_comment{0, "two"});
         r.line_order.erase(2);
       },
       false, {"  one"}},
  };
  for (const auto& c : cases) {
    dat d = receipt_document();
    c.fill(d.checks[0]);
    EXPECT_EQ(body_of(sale_lines(d, c.colvo)), c.expected) << c.name;
  }
}

TEST(RenderSaleReceipt, WritesTheTotalsSection) {
  const std::vector<body_case> cases = {
      {"one tax line from the end record",
       [](check& r) {
         auto& e = add_end(r);
         e.SM = 1250, e.TX = "1", e.TXPR = 20, e.TXSM = 208;
       },
       false,
       {rule, row("  Сума", "12.50", 37, 56), row2("       ПДВ_A A =", "20.00%", 22, "2.08", 37, 52), rule, rule}},
      {"one tax line per TX element, then one rule line",
       [](check& r) {
         auto& e = add_end(r);
         e.SM = 1250, e.has_tx = true, e.tx_count = 2;
         e.tx_lines[0] = tx{"1", 20, 208, 0, 0, 0, 0};
         e.tx_lines[1] = tx{"2", 7, 50, 0, 0, 0, 0};
       },
       false,
       {rule, row("  Сума", "12.50", 37, 56), row2("       ПДВ_A A =", "20.00%", 22, "2.08", 37, 52),
        row2("       ПДВ_Б Б = ", "7.00%", 22, "0.50", 37, 52), rule}},
      {"excise",
       [](check& r) {
         auto& e = add_end(r);
         e.SM = 1250, e.TX = "1", e.TXAL = 1, e.DTPR = 20, e.DTSM = 200, e.TXPR = 5, e.TXSM = 60;
       },
       false,
       {rule, row("  Сума", "12.50", 37, 56), row2("       ПДВ_A A =", "20.00%", 22, "2.00", 37, 52),
        row2("  Акцз. збір Д = ", "5.00%", 22, "0.60", 37, 52), rule, rule}},
  };
  for (const auto& c : cases) {
    dat d = receipt_document();
    c.fill(d.checks[0]);
    EXPECT_EQ(body_of(sale_lines(d)), c.expected) << c.name;
  }
}

TEST(RenderSaleReceipt, WritesPaymentsWithCreditAndChange) {
  dat d = receipt_document();
  check& r = d.checks[0];
  add_line(r, r.m_lines, r.m_count, line_kinds::M, sale_pay{1, 0, 10000, 3010, w("ГОТІВКА"), ""});
  add_line(r, r.m_lines, r.m_count, line_kinds::M, sale_pay{2, 3, 12500, 0, w("КРЕДИТ"), "123456"});
  add_line(r, r.m_lines, r.m_count, line_kinds::M, sale_pay{3, 3, 100, 0, w("Кредит"), "999"});
  EXPECT_EQ(body_of(sale_lines(d)),
            (std::vector<std::string>{row("  ГОТІВКА", "100.00", 37, 50), row("  Решта", "-30.10", 37, 42),
                                      row("  КРЕДИТ", "125.00", 37, 49), "  Транзакція N", "  123456",
                                      row("  Кредит", "1.00", 37, 49)}));
}

TEST(RenderSaleReceipt, OpensWithHeaderAndCashDeskAndClosesWithFooter) {
  dat d = receipt_document();
  EXPECT_EQ(sale_lines(d), (std::vector<std::string>{"          ДП \"Компанія KORVA\"", "                м.Київ",
                                                     "           ПН 12345", "     ЗН ZN0001  ФН FN0001",
                                                     "         Оля Каса05", rule, footer_zero,
                                                     "         ФІСКАЛЬНИЙ ЧЕК", rule, rule}));
  const std::vector<std::pair<int, std::string>> desks = {
      {0, "Каса00"}, {7, "Каса07"}, {10, "Каса10"}, {12, "Каса12"}, {-3, "Каса0-3"}};
  for (const auto& [cn, text] : desks) {
    d.checks[0].CN = cn;
    EXPECT_EQ(sale_lines(d)[4], "         Оля " + text) << cn;
  }
}

TEST(RenderSaleReceipt, WritesTheFooterNumberLine) {
  struct footer_case {
    float no;
    std::int16_t ns;
    std::string ts;
    std::string expected;
  };
  const std::vector<footer_case> cases = {
      {1234567, 42, "20160331143005", "  001234567 000042  31.03.2016  14:30" + blanks(10)},
      {1234567, -5, "20160331143005", "  001234567 0000-5  31.03.2016  14:30" + blanks(10)},
      {15, 32767, "20160331143005", "  000000015 032767  31.03.2016  14:30" + blanks(10)},
      {12.5f, 1, "20160331143005", "  0000012.5 000001  31.03.2016  14:30" + blanks(10)},
      {1e10f, 1, "20160331143005", "10000000000 000001  31.03.2016  14:30" + blanks(10)},
      {3, 1, "2016", row("  000000003 000001", "..2016  :", 37, 47)},
  };
  for (const auto& c : cases) {
    dat d = receipt_document();
    add_end(d.checks[0]).VD = 1;  // the cancelled form writes no totals
    d.checks[0].end.NO = c.no;
    d.checks[0].end.NS = c.ns;
    d.TS.text = c.ts;
    const auto lines = sale_lines(d);
    EXPECT_EQ(lines[lines.size() - 3], c.expected) << c.no;
    EXPECT_EQ(w(lines[lines.size() - 3]).size(), 47u);
  }
}

TEST(RenderSaleReceipt, MarksReturnsCancellationsAndServiceReceipts) {
  struct kind_case {
    float T;
    float VD;
    std::vector<std::string> after_desk;  // from the rule below the cash desk
  };
  const std::vector<kind_case> cases = {
      {0, 0, {rule, footer_zero, "         ФІСКАЛЬНИЙ ЧЕК", rule, rule}},
      {1, 0, {rule, "               ПОВЕРНЕННЯ", rule, footer_zero, "         ВИДАТКОВИЙ ЧЕК", rule, rule}},
      {2, 0, {rule, footer_zero, "         СЛУЖБОВИЙ ЧЕК", rule, rule}},
      {3, 0, {rule, footer_zero, rule, rule}},
      {0.5f, 0, {rule, footer_zero, "         ФІСКАЛЬНИЙ ЧЕК", rule, rule}},
      {0, 1, {rule, "       * ЧЕК АНУЛЬОВАНО *", footer_zero, rule, rule}},
      {1, 1, {rule, "               ПОВЕРНЕННЯ", rule, "       * ЧЕК АНУЛЬОВАНО *", footer_zero,
              "         ВИДАТКОВИЙ ЧЕК", rule, rule}},
      // A service receipt requested as a sale receipt: no totals, payments kept.
      {2, 0, {rule, row("  ГОТІВКА", "1.00", 37, 50), footer_zero, "         СЛУЖБОВИЙ ЧЕК", rule, rule}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto& c = cases[i];
    dat d = receipt_document(c.T);
    check& r = d.checks[0];
    if (c.VD != 0 || c.T == 2) {
      auto& e = add_end(r);
      e.VD = c.VD, e.SM = 100, e.TX = "1";
    }
    if (i == cases.size() - 1) add_line(r, r.m_lines, r.m_count, line_kinds::M, sale_pay{2, 0, 100, 0, w("ГОТІВКА"), ""});
    const auto lines = sale_lines(d);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.end()), c.after_desk) << "case " << i;
  }
}

TEST(RenderSaleReceipt, StopsAtATaxTextThatIsNotAnInteger) {
  struct stop_case {
    std::function<void(check&)> fill;
    std::string message;
    std::size_t lines_kept;
  };
  const std::vector<stop_case> cases = {
      {[](check& r) {
         add_line(r, r.l_lines, r.l_count, line_kinds::L, sale_comment{1, "kept"});
         add_line(r, r.p_lines, r.p_count, line_kinds::P, item("Name", 100, 0, 0, ""));
         add_line(r, r.l_lines, r.l_count, line_kinds::L, sale_comment{3, "lost"});
       },
       "'' is not a valid integer value", 7},
      {[](check& r) { add_line(r, r.cp_lines, r.cp_count, line_kinds::CP, item("Name", 100, 1000, 100, " ")); },
       "' ' is not a valid integer value", 7},  // the name line is written, the quantity line is not
      {[](check& r) {
         auto& e = add_end(r);
         e.has_tx = true, e.tx_count = 1;  // tx_lines[0] keeps its default text, one blank
       },
       "' ' is not a valid integer value", 8},
      {[](check& r) { add_end(r).TX = "x"; }, "'x' is not a valid integer value", 8},
      {[](check& r) { add_end(r).VD = 1, r.end.NO = 1e12f; }, "Range check error", 7},
  };
  for (const auto& c : cases) {
    dat d = receipt_document();
    c.fill(d.checks[0]);
    std::vector<std::string> display;
    try {
      render_sale_receipt(display, d, "FN0001", {}, false);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const render_error& error) {
      EXPECT_EQ(error.what(), c.message);
    }
    EXPECT_EQ(display.size(), c.lines_kept) << c.message;
  }
}

TEST(RenderServiceReceipt, UsesTheFixedHeaderAndWholeQuantities) {
  dat d = receipt_document(2);
  check& r = d.checks[0];
  add_line(r, r.p_lines, r.p_count, line_kinds::P, item("Товар", 2500, 2000, 1250));
  add_line(r, r.p_lines, r.p_count, line_kinds::P, item("Товар", 2500));
  add_line(r, r.h_lines, r.h_count, line_kinds::H, sale_serv_info{3, "0", "QR", "plain"});
  add_line(r, r.i_lines, r.i_count, line_kinds::I, sale_in_out{4, 0, "", 100});
  auto& e = add_end(r);
  e.NO = 77, e.CS = 3, e.SM = 100, e.TX = "1";
  add_line(r, r.m_lines, r.m_count, line_kinds::M, sale_pay{6, 0, 100, 0, w("ГОТІВКА"), ""});

  std::vector<std::string> display;
  render_service_receipt(display, d, "FN0001");
  EXPECT_EQ(utf8_lines(display),
            (std::vector<std::string>{"          ДП \"Компанія KORVA\"", "                м.Київ", "           ПН 12345",
                                      "     ЗН ZN0001  ФН FN0001", "            Каса03", rule, "  Товар",
                                      row("  2. X 12.50 =", "25.00 A", 39, 49), row("  Товар", "25.00 A", 39, 49),
                                      "  plain", row("  Внесок", "1.00", 37, 43),
                                      "  000000077" + blanks(9) + "31.03.2016  14:30" + blanks(17),
                                      "         СЛУЖБОВИЙ ЧЕК", rule, rule}));
  EXPECT_EQ(display[11].size(), 54u);
  e.CS = 12.7f;
  display.clear();
  render_service_receipt(display, d, "FN0001");
  EXPECT_EQ(text::cp1251_to_utf8(display[4]), "            Каса12");
}

}  // namespace
}  // namespace ejscope
