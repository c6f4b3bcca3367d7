#include "tape/tape_walker.h"

#include "tape/field_tables.h"
#include "tape/value_conversion.h"

namespace ejscope {

namespace {

// One value on its way into the model, with what names it in a failure.
// A value the DOM delivers empty is taken as the empty text.
class value_reader {
 public:
  value_reader(int slot, std::string_view element, std::string_view attribute, std::string_view value)
      : slot_(slot), element_(element), attribute_(attribute), value_(value) {}

  // The 32-bit float. `N` and `T` of `I` use it too: the locale rule is the "." rule here.
  float number() const {
    if (value_.empty()) fail("empty number");
    auto value = to_number(value_);
    if (!value) fail("not a number within the 32-bit float range");
    return *value;
  }
  // A text that is not a whole number gives 0; an empty one cannot be read.
  int whole() const {
    if (value_.empty()) fail("empty whole number");
    return to_int(value_).value_or(0);
  }
  std::int16_t short_whole() const {
    if (value_.empty()) fail("empty whole number");
    auto value = to_short(value_);
    if (!value) fail("not a 32-bit whole number");
    return *value;
  }
  // Text fields are assigned in place, reusing the field's storage.
  void text_into(std::string& field) const { field.assign(value_); }
  void text_or_into(std::string& field, std::string_view when_empty) const {
    field.assign(value_.empty() ? when_empty : value_);
  }

 private:
  [[noreturn]] void fail(const char* reason) const {
    throw walk_error(slot_, std::string(element_), std::string(attribute_), std::string(value_), reason);
  }

  int slot_;
  std::string_view element_, attribute_, value_;
};

template <class T, std::size_t K>
void file_field(T& object, const fields::table<T, K>& table, int code, const value_reader& value) {
  if (code < 0 || static_cast<std::size_t>(code) >= K) return;
  const fields::field<T>& field = table[static_cast<std::size_t>(code)];
  if (field.number) object.*field.number = value.number();
  if (field.text) value.text_into(object.*field.text);
}

// A receipt line: its field, and once its `N` is read, its place in the
// receipt's line order under the current line number.
template <class Line, std::size_t K>
void file_line(check& receipt, Line& line, const fields::table<Line, K>& table, int n_code, int kind,
               int key, int code, const value_reader& value) {
  file_field(line, table, code, value);
  if (code == n_code) record_line(receipt, receipt.line_no, kind, key);
}

bool is_text_node(pugi::xml_node node) {
  return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// An element whose only child is one text node (a CDATA section counts as text).
bool is_text_element(pugi::xml_node node) {
  pugi::xml_node child = node.first_child();
  return child && is_text_node(child) && !child.next_sibling();
}

}  // namespace

void control::read_tape(rq& store, pugi::xml_node root) {
  walk_attributes(store, root);
  walk_children(store, root);
}

namespace {

// Removes `top` and all its descendants from the DOM leaf by leaf: the DOM's
// own removal of a subtree recurses, which a deeply nested text would turn
// into a stack overflow.
void release_subtree(pugi::xml_node top) {
  pugi::xml_node node = top;
  for (;;) {
    while (pugi::xml_node child = node.first_child()) node = child;
    if (node == top) break;
    pugi::xml_node parent = node.parent();
    parent.remove_child(node);
    node = parent;
  }
  top.parent().remove_child(top);
}

}  // namespace

void control::read_tape_releasing(rq& store, pugi::xml_node root) {
  walk_attributes(store, root);
  while (pugi::xml_node child = root.first_child()) {
    visit(store, child);
    walk_children(store, child);
    release_subtree(child);
  }
}

void control::walk_children(rq& store, pugi::xml_node parent) {
  // Document order by the DOM's own links: down to the first child, else on
  // to the next sibling of the nearest node that has one.
  pugi::xml_node node = parent.first_child();
  while (node) {
    visit(store, node);
    if (pugi::xml_node child = node.first_child()) {
      node = child;
      continue;
    }
    while (node != parent && !node.next_sibling()) node = node.parent();
    if (node == parent) break;
    node = node.next_sibling();
  }
}

void control::visit(rq& store, pugi::xml_node node) {
  // Text, comment and processing-instruction nodes, and elements outside the
  // dictionary, are invisible: they close nothing and leave `current` as it is.
  if (node.type() != pugi::node_element) return;
  std::string_view name = node.name();
  std::optional<int> known = tags.find_element(name, current);
  if (!known) return;
  int code = *known;
  // The element a `MAC` ends is closed against its own document before the
  // next slot begins; the `MAC`'s attributes then go to the new slot.
  close_element(store);
  if (code == tag_codes::MAC) ++store.doc_index;
  current = code;
  if (is_text_element(node)) {
    std::string_view text = node.first_child().value();
    if (current == tag_codes::TS) store_value(store, 0, text, name);
    if (current == tag_codes::L || current == tag_codes::H) store_value(store, 1, text, name);
  }
  walk_attributes(store, node);
}

void control::walk_attributes(rq& store, pugi::xml_node element) {
  const std::string_view element_name = element.name();
  for (pugi::xml_attribute attribute : element.attributes()) {
    std::string_view name = attribute.name();
    if (std::optional<int> code = tags.find_attribute(current, name))
      store_value(store, *code, attribute.value(), element_name, name);
  }
}

void control::store_value(rq& store, int code, std::string_view value, std::string_view element,
                          std::string_view attribute) {
  using namespace tag_codes;
  const value_reader v(store.doc_index, element, attribute, value);
  if (current == RQ) {
    if (code == 0) store.V = v.number();
    return;
  }
  if (current == MAC) return file_field(store.current_mac(), fields::mac_fields, code, v);
  dat& document = store.current_document();
  switch (current) {
    case DAT: return file_field(document, fields::dat_fields, code, v);
    case C: {
      check& receipt = document.receipt();
      file_field(receipt, fields::check_fields, code, v);
      if (code == 0) document.is_check = true;
      if (code == 1) receipt.CN = v.whole();
      if (code == 2) v.text_or_into(receipt.ON, "       ");
      return;
    }
    case Z: {
      zvit& report = document.z_report();
      file_field(report, fields::zvit_fields, code, v);
      if (code == 0) {
        store.note_z_number(truncate_number(report.NO));
        document.is_check = false;
      }
      return;
    }
    case TS:
      if (code == 0) v.text_into(document.TS.text);
      return;
    default: break;
  }
  if (current >= TXS && current <= NC) {
    zvit& report = document.z_report();
    switch (current) {
      case TXS:
        report.has_txs = true;
        return file_field(report.txs_lines[report.txs_count], fields::txs_fields, code, v);
      case Z_M:
        report.has_z_m = true;
        return file_field(report.z_m_lines[report.z_m_count], fields::z_m_fields, code, v);
      case IO:
        report.has_io = true;
        return file_field(report.io_lines[report.io_count], fields::io_fields, code, v);
      default:
        report.has_nc = true;
        return file_field(report.nc_lines[report.nc_count], fields::nc_fields, code, v);
    }
  }
  check& r = document.receipt();
  switch (current) {
    case P: return file_line(r, r.p_lines[r.p_count], fields::sale_fields, 0, line_kinds::P, r.p_count, code, v);
    case CP: return file_line(r, r.cp_lines[r.cp_count], fields::sale_fields, 0, line_kinds::CP, r.cp_count, code, v);
    case D: return file_line(r, r.d_lines[r.d_count], fields::up_down_fields, 7, line_kinds::D, r.d_count, code, v);
    case S: return file_line(r, r.s_lines[r.s_count], fields::up_down_fields, 7, line_kinds::S, r.s_count, code, v);
    case M: return file_line(r, r.m_lines[r.m_count], fields::pay_fields, 0, line_kinds::M, r.m_count, code, v);
    case I: return file_line(r, r.i_lines[r.i_count], fields::in_out_fields, 0, line_kinds::I, r.i_count, code, v);
    case O: return file_line(r, r.o_lines[r.o_count], fields::in_out_fields, 0, line_kinds::O, r.o_count, code, v);
    case L: return file_line(r, r.l_lines[r.l_count], fields::comment_fields, 0, line_kinds::L, r.l_count, code, v);
    case H: return file_line(r, r.h_lines[r.h_count], fields::serv_info_fields, 0, line_kinds::H, r.h_count, code, v);
    case VD: return file_line(r, r.cancel, fields::cancel_fields, 0, line_kinds::VD, r.vd_count, code, v);
    case E:
      file_line(r, r.end, fields::end_fields, 0, line_kinds::E, r.e_count, code, v);
      if (code == 1) store.note_check_number(truncate_number(r.end.NO));
      if (code == 15) r.end.NS = v.short_whole();
      return;
    case TX:
      r.end.has_tx = true;
      return file_field(r.end.tx_lines[r.end.tx_count], fields::tx_fields, code, v);
    default: return;
  }
}

void control::close_element(rq& store) {
  using namespace tag_codes;
  switch (current) {
    case P: case CP: case D: case S: case M: case I: case O: case L: case H: case VD: case E: {
      check& r = store.current_document().receipt();
      int* counters[] = {&r.p_count, &r.cp_count, &r.d_count, &r.s_count, &r.m_count, &r.i_count,
                         &r.o_count, &r.l_count,  &r.h_count, &r.vd_count, &r.e_count};
      ++*counters[current - P];
      ++r.line_no;
      return;
    }
    case TXS: case Z_M: case IO: case NC: {
      zvit& z = store.current_document().z_report();
      int* counters[] = {&z.txs_count, &z.z_m_count, &z.io_count, &z.nc_count};
      ++*counters[current - TXS];
      return;
    }
    case TX:
      ++store.current_document().receipt().end.tx_count;
      return;
    default: return;
  }
}

}  // namespace ejscope
