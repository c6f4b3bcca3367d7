#include "render/z_report_layout.h"

#include "render/number_text.h"
#include "render/slot_access.h"
#include "render/text_rules.h"

namespace ejscope {
namespace {

long long tax_number(const vid_tax& e) { return integer_value(e.TX); }

// A row of the two amount columns: left ending at column 24, right at 37.
std::string two_columns(std::string line, std::string_view left, std::string_view right) {
  overlay_field(line, left, column_kind::left_amount);
  overlay_field(line, right, column_kind::right_amount);
  return line;
}

class z_report_writer {
 public:
  z_report_writer(std::vector<std::string>& display, const dat& d)
      : display_(display), d_(d), z_(element_at(d.zvits, 0)) {}

  void write(const std::string& first_fn, const register_header& header, int pass_counter, sootv& z_doc_map,
             sootv& fetched_z) {
    static const std::string number_word = std::string(11, ' ') + win("Z-звіт N ");
    static const std::string overall = std::string(14, ' ') + win("ЗАГАЛОМ");
    static const std::string tax_heading = win("  ------        Податок       Обіг");
    static const std::string sales_count = win("  Чеків продажу ");
    static const std::string returns_count = win("  Чеків повернення ");
    static const std::string fiscal = std::string(9, ' ') + win("ФІСКАЛЬНИЙ ЧЕК");

    document_header(display_, d_, first_fn, header_source::z_report, header);
    const int no = truncate_number(z_.NO);
    if (z_doc_map.smallest_key_of(no) != 0) {
      z_doc_map.set(pass_counter, no);
      fetched_z.set(no, 1);
    }
    display_.push_back(line_of({number_word, std::to_string(no)}));
    display_.push_back(overall);
    if (z_.has_z_m) payments();
    if (z_.has_io) cash_in_out();
    display_.push_back(tax_heading);
    sales_by_tax();
    display_.push_back(line_of({sales_count, counters(&count_check::NI)}));
    returns_by_tax();
    display_.push_back(line_of({returns_count, counters(&count_check::NO)}));
    tax_date();
    if (z_.has_txs) rates();
    std::string date_line = field_line_of({"        "});
    overlay_field(date_line, date_text(d_.TS.text, true), column_kind::right_amount);
    display_.push_back(std::move(date_line));
    display_.push_back(fiscal);
    display_.push_back(rule_line());
    display_.push_back(rule_line());
  }

 private:
  template <class T, class F>
  void for_each(const slot_map<T>& map, int count, F&& visit) const {
    for (int k = 0; k < count; ++k) visit(element_at(map, k));
  }

  // The payment rows and their sums are rounded to 32-bit floats.
  void payments() {
    static const std::string heading = win("  ------      Повернення    Продаж");
    static const std::string total = win("  ВСЬОГО") + std::string(11, ' ');
    display_.push_back(heading);
    float returned = 0;
    float sold = 0;
    for_each(z_.z_m_lines, z_.z_m_count, [&](const vid_pay& e) {
      display_.push_back(two_columns(field_line_of({"  ", e.NM}), amount_text(e.SMO), amount_text(e.SMI)));
      returned += static_cast<float>(hundredths(e.SMO));
      sold += static_cast<float>(hundredths(e.SMI));
    });
    display_.push_back(two_columns(field_line_of({total}), fixed_text(returned, 2), fixed_text(sold, 2)));
  }

  void cash_in_out() {
    static const std::string heading = win("  ------         Видача     Внесок");
    static const std::string in_cash = win("  Готівка в касі") + std::string(21, ' ');
    display_.push_back(heading);
    for_each(z_.io_lines, z_.io_count, [&](const vid_rotate& e) {
      display_.push_back(
          two_columns(field_line_of({"  ", e.NM}), amount_text_extended(e.SMO), amount_text_extended(e.SMI)));
      std::string line = field_line_of({in_cash});
      overlay_field(line, amount_text_extended(e.SMT), column_kind::right_amount);
      display_.push_back(std::move(line));
    });
  }

  void no_tax_line() { display_.push_back(line_of({"                    0.00      0.00"})); }

  void sales_by_tax() {
    static const std::string added = win("  ДОД. ");
    if (!z_.has_txs) return no_tax_line();
    for_each(z_.txs_lines, z_.txs_count, [&](const vid_tax& e) {
      const long long x = tax_number(e);
      if (e.DTI != 0) {
        display_.push_back(two_columns(field_line_of({added, tax_letter(x)}), amount_text_extended(e.DTI),
                                       amount_text_extended(static_cast<long double>(e.SMI) - e.TXI)));
        display_.push_back(two_columns(field_line_of({added, tax_letter(x + 1)}), amount_text_extended(e.TXI),
                                       amount_text_extended(e.SMI)));
      } else {
        display_.push_back(two_columns(field_line_of({added, tax_letter(x)}), amount_text_extended(e.TXI),
                                       amount_text_extended(e.SMI)));
      }
    });
  }

  void returns_by_tax() {
    static const std::string returned = win("  ВІД. ");
    if (!z_.has_txs) return no_tax_line();
    for_each(z_.txs_lines, z_.txs_count, [&](const vid_tax& e) {
      display_.push_back(two_columns(field_line_of({returned, tax_letter(tax_number(e))}), amount_text_extended(e.DTO),
                                     amount_text_extended(e.SMO)));
    });
  }

  // Every counter's number written one after the other, or "0" without any.
  std::string counters(float count_check::*field) const {
    if (!z_.has_nc) return "0";
    std::string text;
    for_each(z_.nc_lines, z_.nc_count, [&](const count_check& e) { text += whole_text(e.*field); });
    return text;
  }

  void tax_date() {
    static const std::string tax_from = win("  Податок     від ");
    std::string line = field_line_of({tax_from});
    if (z_.has_txs) {
      overlay_field(line, date_text(element_at(z_.txs_lines, 0).TS, false), column_kind::right_amount);
    }
    display_.push_back(std::move(line));
  }

  void rates() {
    static const std::string excise = win("    Акцизний збір (Вк2) ");
    static const std::string vat = std::string(12, ' ') + win("ПДВ_");
    static const std::string included = win(" (Вкл) ");
    for_each(z_.txs_lines, z_.txs_count, [&](const vid_tax& e) {
      const long long x = tax_number(e);
      const std::string* letter = &tax_letter(x);
      if (e.DTPR != 0) {
        std::string line = field_line_of({excise, *letter, " = "});
        overlay_field(line, line_of({rate_text(e.DTPR), "%"}), column_kind::right_amount);
        display_.push_back(std::move(line));
        letter = &tax_letter(x + 1);
      }
      std::string line = field_line_of({vat, *letter, included, *letter, " = "});
      overlay_field(line, line_of({rate_text(e.TXPR), "%"}), column_kind::right_amount);
      display_.push_back(std::move(line));
    });
  }

  std::vector<std::string>& display_;
  const dat& d_;
  const zvit& z_;
};

}  // namespace

void render_z_report(std::vector<std::string>& display, const dat& d, const std::string& first_fn,
                     const register_header& header, int pass_counter, sootv& z_doc_map, sootv& fetched_z) {
  z_report_writer(display, d).write(first_fn, header, pass_counter, z_doc_map, fetched_z);
}

}  // namespace ejscope
