#include "render/receipt_layout.h"

#include <string_view>

#include "render/number_text.h"
#include "render/slot_access.h"
#include "render/text_rules.h"
#include "text/base64.h"

namespace ejscope {
namespace {

constexpr std::size_t name_width = 34;

const std::string& line_letter(const std::string& tax_text) { return tax_letter(integer_value(tax_text)); }

// Discounts and surcharges without a tax text are marked "*".
const std::string& up_down_letter(const std::string& tax_text) {
  return tax_text.empty() ? tax_letter(6) : line_letter(tax_text);
}

// Control bytes of decoded service text become "?", so that no saved line is split or cut.
std::string printable(std::string bytes) {
  for (auto& byte : bytes) {
    if (static_cast<unsigned char>(byte) < 0x20) byte = '?';
  }
  return bytes;
}

std::string cash_desk_text(long long number) {
  static const std::string desk = win("Каса");
  return desk + (number < 10 ? "0" : "") + std::to_string(number);
}

class receipt_writer {
 public:
  receipt_writer(std::vector<std::string>& display, const dat& d, bool service, bool colvo_flag)
      : display_(display), d_(d), r_(element_at(d.checks, 0)), service_(service), colvo_flag_(colvo_flag) {}

  void write(const std::string& first_fn, const register_header& header) {
    if (service_) {
      document_header(display_, d_, first_fn, header_source::fixed, header);
      display_.push_back(line_of({"            ", cash_desk_text(truncate_number(r_.end.CS))}));
    } else {
      document_header(display_, d_, first_fn, header_source::receipt, header);
      display_.push_back(line_of({"         ", r_.ON, " ", cash_desk_text(r_.CN)}));
    }
    display_.push_back(rule_line());
    if (!service_ && r_.T == 1) {
      static const std::string returned = std::string(15, ' ') + win("ПОВЕРНЕННЯ");
      display_.push_back(returned);
      display_.push_back(rule_line());
    }
    for_each_line([this](const line_ref& ref) { item(ref); });
    if (!service_) {
      for_each_line([this](const line_ref& ref) {
        if (ref.line_kind == line_kinds::E) totals();
      });
      for_each_line([this](const line_ref& ref) {
        if (ref.line_kind == line_kinds::M) payment(element_at(r_.m_lines, ref.key));
      });
    }
    footer();
    kind_line();
    display_.push_back(rule_line());
    display_.push_back(rule_line());
  }

 private:
  // Line numbers 1 ... total_lines in order; numbers without an entry print nothing.
  template <class F>
  void for_each_line(F&& visit) const {
    const int total = total_lines(r_);
    for (auto it = r_.line_order.lower_bound(1); it != r_.line_order.end() && it->first <= total; ++it) {
      visit(it->second);
    }
  }

  void append_with_margin(std::string& line) {
    line.insert(0, "  ");
    display_.push_back(std::move(line));
  }

  void item(const line_ref& ref) {
    static const std::string cash_in = win("  Внесок");
    static const std::string cash_out = win("  Видача");
    switch (ref.line_kind) {
      case line_kinds::P: sale_line(element_at(r_.p_lines, ref.key), true); break;
      case line_kinds::CP: sale_line(element_at(r_.cp_lines, ref.key), false); break;
      case line_kinds::D: discount(element_at(r_.d_lines, ref.key)); break;
      case line_kinds::S: surcharge(element_at(r_.s_lines, ref.key)); break;
      case line_kinds::I: cash_line(cash_in, "", element_at(r_.i_lines, ref.key)); break;
      case line_kinds::O: cash_line(cash_out, "-", element_at(r_.o_lines, ref.key)); break;
      case line_kinds::L: display_.push_back(line_of({"  ", element_at(r_.l_lines, ref.key).text})); break;
      case line_kinds::H: service_info(element_at(r_.h_lines, ref.key)); break;
      default: break;
    }
  }

  // P lines wrap their name at 34 characters; CP lines print it whole. The
  // tax letter is read when its value is built, after the name lines.
  void sale_line(const sale& s, bool wrap) {
    std::string_view name = s.NM;
    if (wrap) {
      while (name.size() > name_width) {
        display_.push_back(line_of({"  ", name.substr(0, name_width)}));
        name.remove_prefix(name_width);
      }
    }
    if (s.Q == 0) {
      std::string line = field_line_of({name, "       "});
      const std::string sum = amount_text(s.SM);
      if (wrap && colvo_flag_ && !service_) {
        overlay_field(line, line_of({" 1.000 X ", sum, " = ", sum, line_letter(s.TX)}), column_kind::unit_price);
      } else {
        overlay_field(line, line_of({sum, " ", line_letter(s.TX)}), column_kind::right_amount);
      }
      append_with_margin(line);
      return;
    }
    display_.push_back(line_of({"  ", name}));
    const int decimals = wrap && !service_ ? 3 : 0;
    std::string line = field_line_of({quantity_text(s.Q, decimals), ". X ", amount_text(s.PRC), " ="});
    overlay_field(line, line_of({amount_text(s.SM), " ", line_letter(s.TX)}), column_kind::right_amount);
    append_with_margin(line);
  }

  void discount(const sale_up_down& u) {
    static const std::string discount_word = win("  Знижка ");
    static const std::string on_sum = win(" на Суму");
    static const std::string on_tax = win(" на Податок");
    std::string line = truncate_number(u.TY) == 1 ? field_line_of({discount_word, "-", rate_text(u.PR), "%"})
                                                   : field_line_of({discount_word});
    switch (truncate_number(u.TR)) {
      case 1: line += on_sum; break;
      case 2: line += on_tax; break;
      default: break;
    }
    overlay_field(line, line_of({"-", amount_text(u.SM), " ", up_down_letter(u.TX)}), column_kind::right_amount);
    append_with_margin(line);
  }

  void surcharge(const sale_up_down& u) {
    static const std::string surcharge_word = win("  Надбавка ");
    std::string line = field_line_of({surcharge_word, rate_text(u.PR), truncate_number(u.TY) == 1 ? "%" : ""});
    overlay_field(line, line_of({amount_text(u.SM), " ", up_down_letter(u.TX)}), column_kind::right_amount);
    append_with_margin(line);
  }

  void cash_line(std::string_view word, std::string_view sign, const sale_in_out& io) {
    std::string line = field_line_of({word});
    overlay_field(line, line_of({sign, amount_text(io.SM)}), column_kind::right_amount);
    display_.push_back(std::move(line));
  }

  void service_info(const sale_serv_info& h) {
    if (service_) {
      display_.push_back(line_of({"  ", h.text}));
    } else if (h.HT == "BarBitLine") {
      display_.push_back(line_of({"  ", h.HT, " ", h.text}));
    } else {
      display_.push_back(line_of({"  ", h.HT, " ", printable(text::base64_decode(h.text))}));
    }
  }

  void tax_line(std::string line, float rate, float sum) {
    overlay_field(line, line_of({rate_text(rate), "%        "}), column_kind::tax_rate);
    overlay_field(line, amount_text(sum), column_kind::right_amount);
    display_.push_back(std::move(line));
  }

  void vat_line(const std::string& letter, float rate, float sum) {
    static const std::string vat = win("       ПДВ_");
    tax_line(field_line_of({vat, letter, " ", letter, " = "}), rate, sum);
  }

  void totals() {
    const sale_end& e = r_.end;
    if (e.VD == 1) {
      static const std::string cancelled_mark = win("       * ЧЕК АНУЛЬОВАНО *");
      display_.push_back(cancelled_mark);
      cancelled_ = true;
      return;
    }
    if (r_.T == 2) return;
    static const std::string sum_word = win("  Сума") + std::string(15, ' ');
    static const std::string excise = win("  Акцз. збір Д = ");
    display_.push_back(rule_line());
    std::string sum_line = field_line_of({sum_word});
    overlay_field(sum_line, amount_text(e.SM), column_kind::right_amount);
    display_.push_back(std::move(sum_line));
    if (e.has_tx) {
      for (int k = 0; k < e.tx_count; ++k) {
        const tx& t = element_at(e.tx_lines, k);
        vat_line(line_letter(t.TX), t.TXPR, t.TXSM);
      }
      display_.push_back(rule_line());  // written even when no TX element was closed
      return;
    }
    const std::string& letter = line_letter(e.TX);
    if (e.TXAL == 0) {
      vat_line(letter, e.TXPR, e.TXSM);
    } else {
      vat_line(letter, e.DTPR, e.DTSM);
      tax_line(field_line_of({excise}), e.TXPR, e.TXSM);
    }
    display_.push_back(rule_line());
    display_.push_back(rule_line());
  }

  void payment(const sale_pay& m) {
    static const std::string credit = win("КРЕДИТ");
    static const std::string transaction = win("  Транзакція N");
    static const std::string change_word = win("  Решта");
    std::string line = field_line_of({"  ", m.NM, "      "});
    overlay_field(line, amount_text(m.SM), column_kind::right_amount);
    display_.push_back(std::move(line));
    if (m.NM == credit) {
      display_.push_back(transaction);
      display_.push_back(line_of({"  ", m.RRN}));
    }
    if (m.RM != 0) {
      std::string change = field_line_of({change_word});
      overlay_field(change, line_of({"-", amount_text(m.RM)}), column_kind::right_amount);
      display_.push_back(std::move(change));
    }
  }

  void footer() {
    const sale_end& e = r_.end;
    std::string line = field_line_of({"  000000000"});
    if (service_) {
      overlay_field(line, whole_text(e.NO), column_kind::receipt_number);
      line.append(8, ' ');
    } else {
      overlay_field(line, general_text(e.NO), column_kind::receipt_number);
      std::string field = line_of({" 00000"});
      overlay_field(field, std::to_string(e.NS), column_kind::shift_counter);
      overlay_field(line, field, column_kind::footer_field);
      line += ' ';
    }
    overlay_field(line, date_text(d_.TS.text, true), column_kind::right_amount);
    display_.push_back(std::move(line));
  }

  void kind_line() {
    static const std::string fiscal = std::string(9, ' ') + win("ФІСКАЛЬНИЙ ЧЕК");
    static const std::string expense = std::string(9, ' ') + win("ВИДАТКОВИЙ ЧЕК");
    static const std::string service = std::string(9, ' ') + win("СЛУЖБОВИЙ ЧЕК");
    switch (truncate_number(r_.T)) {
      case 0:
        if (!cancelled_) display_.push_back(fiscal);
        break;
      case 1: display_.push_back(expense); break;
      case 2: display_.push_back(service); break;
      default: break;
    }
  }

  std::vector<std::string>& display_;
  const dat& d_;
  const check& r_;
  const bool service_;
  const bool colvo_flag_;
  bool cancelled_ = false;
};

}  // namespace

void render_sale_receipt(std::vector<std::string>& display, const dat& d, const std::string& first_fn,
                         const register_header& header, bool colvo_flag) {
  receipt_writer(display, d, false, colvo_flag).write(first_fn, header);
}

void render_service_receipt(std::vector<std::string>& display, const dat& d, const std::string& first_fn) {
  receipt_writer(display, d, true, false).write(first_fn, register_header{});
}

}  // namespace ejscope
