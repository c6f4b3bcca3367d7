// The Z-report, byte for byte, and its bookkeeping of the reports shown.
#include <gtest/gtest.h>

#include "render/render_error.h"
#include "render/z_report_layout.h"
#include "render_support.h"

namespace ejscope {
namespace {

using render_testing::blanks;
using render_testing::row;
using render_testing::row2;
using render_testing::utf8_lines;
using render_testing::w;
using render_testing::z_document;

const std::string rule = "  " + std::string(38, '-');
const std::string zero_taxes = blanks(20) + "0.00" + blanks(6) + "0.00";

std::vector<std::string> z_lines(const dat& d, const register_header& header = {}) {
  std::vector<std::string> display;
  sootv z_doc_map, fetched_z;
  render_z_report(display, d, "FN0001", header, 0, z_doc_map, fetched_z);
  return utf8_lines(display);
}

vid_tax tax(std::string tx, float smi, float txi) {
  vid_tax e;
  e.TX = std::move(tx);
  e.TS = "20160101000000";
  e.TXPR = 20;
  e.SMI = smi;
  e.TXI = txi;
  return e;
}

void add_tax(zvit& z, vid_tax e) {
  z.has_txs = true;
  z.txs_lines[z.txs_count++] = std::move(e);
}

TEST(RenderZReport, WithoutSectionsPrintsTheFixedZeroLines) {
  EXPECT_EQ(z_lines(z_document(15)),
            (std::vector<std::string>{"          ДП \"Компанія KORVA\"", "                м.Київ", "           ПН 12345",
                                      "     ЗН ZN0001  ФН FN0001", "           Z-звіт N 15", "              ЗАГАЛОМ",
                                      "  ------        Податок       Обіг", zero_taxes, "  Чеків продажу 0", zero_taxes,
                                      "  Чеків повернення 0", "  Податок     від ",
                                      row("", "31.03.2016  22:00", 37, 43), "         ФІСКАЛЬНИЙ ЧЕК", rule, rule}));
}

TEST(RenderZReport, WritesPaymentRowsAndTheirSums) {
  dat d = z_document(1);
  zvit& z = d.zvits[0];
  z.has_z_m = true;
  z.z_m_count = 2;
  z.z_m_lines[0] = vid_pay{0, w("ГОТІВКА"), 5000, 100};
  z.z_m_lines[1] = vid_pay{2, w("КАРТКА"), 7000, 250};
  const auto lines = z_lines(d);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.begin() + 10),
            (std::vector<std::string>{"  ------      Повернення    Продаж", row2("  ГОТІВКА", "1.00", 24, "50.00", 37, 44),
                                      row2("  КАРТКА", "2.50", 24, "70.00", 37, 43),
                                      row2("  ВСЬОГО", "3.50", 24, "120.00", 37, 54)}));
}

TEST(RenderZReport, PaymentRowsAndSumsAreRoundedToFloatsTheOtherAmountsAreNot) {
  dat d = z_document(1);
  zvit& z = d.zvits[0];
  z.has_z_m = true;
  z.z_m_count = 1;
  z.z_m_lines[0] = vid_pay{0, "X", 13107201, 0};
  add_tax(z, tax("1", 13107201, 0));
  const auto lines = z_lines(d);
  EXPECT_EQ(lines[7], row2("  X", "0.00", 24, "131072.02", 37, 38));
  EXPECT_EQ(lines[8], row2("  ВСЬОГО", "0.00", 24, "131072.02", 37, 54));
  EXPECT_EQ(lines[10], row2("  ДОД. A", "0.00", 24, "131072.01", 37, 43));
}

TEST(RenderZReport, WritesCashInAndOutWithTheCashInTheTill) {
  dat d = z_document(1);
  zvit& z = d.zvits[0];
  z.has_io = true;
  z.io_count = 2;
  z.io_lines[0] = vid_rotate{0, w("ГОТІВКА"), 50000, 40000, 10000};
  z.io_lines[1] = vid_rotate{1, "X", 100, 0, 100};
  const auto lines = z_lines(d);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.begin() + 11),
            (std::vector<std::string>{"  ------         Видача     Внесок", row2("  ГОТІВКА", "400.00", 24, "500.00", 37, 44),
                                      row("  Готівка в касі", "100.00", 37, 72), row2("  X", "0.00", 24, "1.00", 37, 38),
                                      row("  Готівка в касі", "1.00", 37, 72)}));
}

TEST(RenderZReport, WritesSalesReturnsAndRatesByTax) {
  dat d = z_document(1);
  zvit& z = d.zvits[0];
  vid_tax excise = tax("4", 12500, 2000);
  excise.DTI = 500;
  excise.DTPR = 5;
  excise.DTO = 100;
  excise.SMO = 1000;
  add_tax(z, excise);
  vid_tax next_is_star = tax("5", 100, 10);
  next_is_star.DTPR = 3;
  next_is_star.DTI = 10;
  add_tax(z, next_is_star);
  add_tax(z, tax("1", 300, 50));
  z.has_nc = true;
  z.nc_count = 2;
  z.nc_lines[0] = count_check{12, 1};
  z.nc_lines[1] = count_check{3, 0};
  const auto lines = z_lines(d);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.end() - 4),
            (std::vector<std::string>{
                "  ------        Податок       Обіг",
                row2("  ДОД. Г", "5.00", 24, "105.00", 37, 43),
                row2("  ДОД. Д", "20.00", 24, "125.00", 37, 43),
                row2("  ДОД. Д", "0.10", 24, "0.90", 37, 43),
                row2("  ДОД. *", "0.10", 24, "1.00", 37, 43),
                row2("  ДОД. A", "0.50", 24, "3.00", 37, 43),
                "  Чеків продажу 123",
                row2("  ВІД. Г", "1.00", 24, "10.00", 37, 43),
                row2("  ВІД. Д", "0.00", 24, "0.00", 37, 43),
                row2("  ВІД. A", "0.00", 24, "0.00", 37, 43),
                "  Чеків повернення 10",
                row("  Податок     від ", "01.01.2016  ", 37, 53),
                row("    Акцизний збір (Вк2) Г = ", "5.00%", 37, 63),
                row("            ПДВ_Д (Вкл) Д = ", "20.00%", 37, 63),
                row("    Акцизний збір (Вк2) Д = ", "3.00%", 37, 63),
                row("            ПДВ_* (Вкл) * = ", "20.00%", 37, 63),
                row("            ПДВ_A (Вкл) A = ", "20.00%", 37, 63),
            }));
}

TEST(RenderZReport, PrintsOneRegisterHeaderLineFewerThanAReceipt) {
  register_header header{{w("ТОВ Ромашка"), w("Київ")}, 1};
  const auto lines = z_lines(z_document(1), header);
  EXPECT_EQ(lines[0], "             ТОВ Ромашка");
  EXPECT_EQ(lines[1], "           ПН 12345");
}

TEST(RenderZReport, RecordsWhichReportWasShownAtWhichStep) {
  dat d = z_document(15);
  std::vector<std::string> display;
  sootv z_doc_map, fetched_z;
  render_z_report(display, d, "", {}, 3, z_doc_map, fetched_z);
  EXPECT_EQ(z_doc_map.get(3), 15);
  EXPECT_EQ(fetched_z.get(15), 1);
  render_z_report(display, d, "", {}, 4, z_doc_map, fetched_z);  // the smallest key holding 15 is 3, not 0
  EXPECT_EQ(z_doc_map.get(4), 15);

  sootv held_at_zero, fetched;
  held_at_zero.set(0, 15);
  render_z_report(display, d, "", {}, 5, held_at_zero, fetched);
  EXPECT_EQ(held_at_zero.get(5), 0);
  EXPECT_FALSE(fetched.has_entries());
}

TEST(RenderZReport, StopsAtATaxTextThatIsNotAnIntegerAfterItsBookkeeping) {
  dat d = z_document(7);
  add_tax(d.zvits[0], tax("x", 100, 10));
  std::vector<std::string> display;
  sootv z_doc_map, fetched_z;
  try {
    render_z_report(display, d, "", {}, 2, z_doc_map, fetched_z);
    ADD_FAILURE() << "no error";
  } catch (const render_error& error) {
    EXPECT_STREQ(error.what(), "'x' is not a valid integer value");
  }
  EXPECT_EQ(display.size(), 7u);  // up to the tax heading
  EXPECT_EQ(z_doc_map.get(2), 7);
  EXPECT_EQ(fetched_z.get(7), 1);
}

}  // namespace
}  // namespace ejscope
