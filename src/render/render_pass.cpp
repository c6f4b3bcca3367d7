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

// Whether the document type gives the document a layout.
bool is_laid_out(const dat& d, int type) {
  if (!d.is_check) return type == document_types::z_report || type == document_types::check_and_z;
  return type == document_types::check || type == document_types::check_and_z ||
         (type == document_types::cash_in_out && element_at(d.checks, 0).T == 2);
}

void render_document(const dat& d, int pass_counter, pass_context& pass) {
  const int type = pass.settings.document_type;
  if (!is_laid_out(d, type)) return;
  if (!d.is_check) {
    render_z_report(pass.display, d, pass.first_fn, pass.settings.header, pass_counter, pass.z_doc_map,
                    pass.fetched_z);
  } else if (type == document_types::cash_in_out) {
    render_service_receipt(pass.display, d, pass.first_fn);
  } else {
    render_sale_receipt(pass.display, d, pass.first_fn, pass.settings.header, pass.settings.colvo_flag);
  }
}

// About two dozen lines for every document the pass will lay out, reserved
// once so that the list is not moved as it grows. A list too large to
// reserve is left to grow line by line.
void reserve_lines(std::vector<std::string>& display, const std::vector<std::pair<int, int>>& order,
                   std::vector<std::pair<int, int>>::const_iterator cursor, int count,
                   const std::vector<const dat*>& slots, int type) {
  std::size_t laid_out = 0;
  for (; count > 0 && cursor != order.end(); --count, ++cursor) {
    laid_out += is_laid_out(*slots[static_cast<std::size_t>(cursor->first)], type);
  }
  try {
    display.reserve(display.size() + laid_out * 24);
  } catch (const std::exception&) {
  }
}

}  // namespace

const std::string& no_data_line() {
  static const std::string line = win("Запрашиваемые данные отсутствуют!");
  return line;
}

namespace {

// The documents of slots 0 ... doc_index - 1 in slot order, a slot not
// filled reading as an empty document; one walk over the store.
std::vector<const dat*> slot_documents(const rq& store) {
  static const dat empty{};
  std::vector<const dat*> slots(static_cast<std::size_t>(std::max(store.doc_index, 0)), &empty);
  for (auto it = store.dats.lower_bound(0); it != store.dats.end() && it->first < store.doc_index; ++it) {
    slots[static_cast<std::size_t>(it->first)] = &it->second;
  }
  return slots;
}

std::vector<std::pair<int, int>> doc_order_of(const std::vector<const dat*>& slots) {
  std::vector<std::pair<int, int>> order;
  order.reserve(slots.size());
  for (std::size_t s = 0; s < slots.size(); ++s) order.emplace_back(static_cast<int>(s), truncate_number(slots[s]->DI));
  return order;
}

int position_in(const std::vector<const dat*>& slots, int document_type, int number, position_side side) {
  const bool z_numbers = document_type == document_types::z_report;
  int r = 0;
  for (std::size_t slot = 0; slot < slots.size(); ++slot) {
    const dat& d = *slots[slot];
    if (d.is_check == z_numbers) continue;  // the other kind of document is passed over
    const int no = d.is_check ? truncate_number(element_at(d.checks, 0).end.NO)
                              : truncate_number(element_at(d.zvits, 0).NO);
    const int s = static_cast<int>(slot);
    if (no > number) {
      if (side == position_side::first) r = std::max(s - 1, 0);
      break;
    }
    r = s;
    if (no == number) break;
  }
  return r;
}

}  // namespace

std::vector<std::pair<int, int>> build_doc_order(const rq& store) { return doc_order_of(slot_documents(store)); }

int find_position(const rq& store, int document_type, int number, position_side side) {
  return position_in(slot_documents(store), document_type, number, side);
}

int render_documents(const rq& store, const render_settings& settings, std::string_view first_text,
                     std::string_view last_text, sootv& z_doc_map, sootv& fetched_z,
                     std::vector<std::string>& display) {
  const int first = integer_value(first_text);
  const int last = integer_value(last_text);
  const auto slots = slot_documents(store);
  auto order = doc_order_of(slots);
  if (slots.empty()) {
    display.push_back(no_data_line());
    return 0;
  }
  const int a = position_in(slots, settings.document_type, first, position_side::first);
  const int b = position_in(slots, settings.document_type, last, position_side::last);
  std::sort(order.begin(), order.end(), [](const auto& x, const auto& y) { return x.second < y.second; });
  auto cursor = std::find_if(order.begin(), order.end(), [a](const auto& entry) { return entry.first == a; });

  reserve_lines(display, order, cursor, b - a + 1, slots, settings.document_type);
  pass_context pass{settings, slots[0]->FN, z_doc_map, fetched_z, display};
  int failed = 0;
  for (int i = a; i <= b && cursor != order.end(); ++i, ++cursor) {
    try {
      render_document(*slots[static_cast<std::size_t>(cursor->first)], i, pass);
    } catch (const std::exception& error) {
      log_render_error(error.what(), settings.error_log_path);
      ++failed;
    }
  }
  return failed;
}

}  // namespace ejscope
