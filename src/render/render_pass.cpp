#include "render/render_pass.h"

#include <algorithm>
#include <exception>

#include "render/display_file.h"
#include "render/receipt_layout.h"
#include "render/slot_access.h"
#include "render/text_rules.h"
#include "render/z_report_layout.h"

namespace ejscope {
namespace {

struct pass_context {
  const render_settings& settings;
  const std::string& first_fn;
  sootv& z_doc_map;
  sootv& fetched_z;
  std::vector<std::string>& display;
};

void render_document(const dat& d, int pass_counter, pass_context& pass) {
  const int type = pass.settings.document_type;
  if (d.is_check) {
    if (type == document_types::check || type == document_types::check_and_z) {
      render_sale_receipt(pass.display, d, pass.first_fn, pass.settings.header, pass.settings.colvo_flag);
    } else if (type == document_types::cash_in_out && element_at(d.checks, 0).T == 2) {
      render_service_receipt(pass.display, d, pass.first_fn);
    }
  } else if (type == document_types::z_report || type == document_types::check_and_z) {
    render_z_report(pass.display, d, pass.first_fn, pass.settings.header, pass_counter, pass.z_doc_map,
                    pass.fetched_z);
  }
}

}  // namespace

const std::string& no_data_line() {
  static const std::string line = win("Запрашиваемые данные отсутствуют!");
  return line;
}

std::vector<std::pair<int, int>> build_doc_order(const rq& store) {
  std::vector<std::pair<int, int>> order;
  order.reserve(static_cast<std::size_t>(std::max(store.doc_index, 0)));
  for (int s = 0; s < store.doc_index; ++s) order.emplace_back(s, truncate_number(element_at(store.dats, s).DI));
  return order;
}

int find_position(const rq& store, int document_type, int number, position_side side) {
  const bool z_numbers = document_type == document_types::z_report;
  int r = 0;
  for (int s = 0; s < store.doc_index; ++s) {
    const dat& d = element_at(store.dats, s);
    if (d.is_check == z_numbers) continue;  // the other kind of document is passed over
    const int no = d.is_check ? truncate_number(element_at(d.checks, 0).end.NO)
                              : truncate_number(element_at(d.zvits, 0).NO);
    if (no > number) {
      if (side == position_side::first) r = std::max(s - 1, 0);
      break;
    }
    r = s;
    if (no == number) break;
  }
  return r;
}

int render_documents(const rq& store, const render_settings& settings, std::string_view first_text,
                     std::string_view last_text, sootv& z_doc_map, sootv& fetched_z,
                     std::vector<std::string>& display) {
  const int first = integer_value(first_text);
  const int last = integer_value(last_text);
  auto order = build_doc_order(store);
  if (store.doc_index < 1) {
    display.push_back(no_data_line());
    return 0;
  }
  const int a = find_position(store, settings.document_type, first, position_side::first);
  const int b = find_position(store, settings.document_type, last, position_side::last);
  std::sort(order.begin(), order.end(), [](const auto& x, const auto& y) { return x.second < y.second; });
  auto cursor = std::find_if(order.begin(), order.end(), [a](const auto& entry) { return entry.first == a; });

  pass_context pass{settings, element_at(store.dats, 0).FN, z_doc_map, fetched_z, display};
  int failed = 0;
  for (int i = a; i <= b && cursor != order.end(); ++i, ++cursor) {
    try {
      render_document(element_at(store.dats, cursor->first), i, pass);
    } catch (const std::exception& error) {
      log_render_error(error.what(), settings.error_log_path);
      ++failed;
    }
  }
  return failed;
}

}  // namespace ejscope
