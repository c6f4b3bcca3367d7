#include "tape/tag_dictionary.h"

#include <stdexcept>

namespace ejscope {

typ_work::typ_work()
    : tags_{{"RQ", 0}, {"DAT", 1}, {"MAC", 2}, {"C", 3},   {"Z", 4},    {"TS", 5},
            {"P", 6},  {"CP", 7},  {"D", 8},   {"S", 9},   {"M", 10},   {"I", 11},
            {"O", 12}, {"L", 13},  {"H", 14},  {"VD", 15}, {"E", 16},   {"TXS", 17},
            {"Z_M", 18}, {"IO", 19}, {"NC", 20}, {"TX", 21}},
      attr_rq_{{"V", 0}},
      attr_dat_{{"FN", 0}, {"TN", 1}, {"ZN", 2}, {"DI", 3}, {"DT", 4}, {"V", 5}},
      attr_mac_{{"DI", 0}, {"NT", 1}},
      attr_c_{{"T", 0}, {"CN", 1}, {"ON", 2}},
      attr_sale_{{"N", 0}, {"C", 1}, {"CD", 2}, {"NM", 3}, {"SM", 4}, {"Q", 5}, {"PRC", 6}, {"TX", 7}},
      attr_up_down_{{"TR", 0}, {"TY", 1}, {"ST", 2}, {"NI", 3}, {"TX", 4}, {"PR", 5}, {"SM", 6}, {"N", 7}},
      attr_pay_{{"N", 0}, {"T", 1}, {"NM", 2}, {"SM", 3}, {"RM", 4}, {"RRN", 5}},
      attr_in_out_{{"N", 0}, {"T", 1}, {"NM", 2}, {"SM", 3}},
      attr_comment_{{"N", 0}},
      attr_cancel_{{"N", 0}, {"NI", 1}},
      attr_end_{{"N", 0},    {"NO", 1},    {"SM", 2},    {"SE", 3},  {"TX", 4},  {"TXPR", 5},
                {"TXSM", 6}, {"DTPR", 7},  {"DTSM", 8},  {"TXTY", 9}, {"TXAL", 10}, {"CS", 11},
                {"VD", 12},  {"TS", 13},   {"FN", 14},   {"NS", 15}},
      attr_ts_{{"TS", 0}},
      attr_z_{{"NO", 0}},
      attr_txs_{{"TX", 0},   {"TS", 1},   {"TXPR", 2}, {"TXI", 3},  {"TXO", 4},  {"DTPR", 5},
                {"DTI", 6},  {"DTO", 7},  {"TXTY", 8}, {"TXAL", 9}, {"SMI", 10}, {"SMO", 11}},
      attr_z_m_{{"T", 0}, {"NM", 1}, {"SMI", 2}, {"SMO", 3}},
      attr_io_{{"T", 0}, {"NM", 1}, {"SMI", 2}, {"SMO", 3}, {"SMT", 4}},
      attr_nc_{{"NI", 0}, {"NO", 1}},
      attr_tx_{{"TX", 0}, {"TXPR", 1}, {"TXSM", 2}, {"DTPR", 3}, {"DTSM", 4}, {"TXTY", 5}, {"TXAL", 6}},
      attr_serv_info_{{"N", 0}, {"HP", 2}, {"HT", 3}},
      packed_tags_(packed(tags_)),
      packed_attr_rq_(packed(attr_rq_)) {
  for (std::size_t code = 0; code < element_kinds; ++code)
    packed_attributes_[code] = packed(attribute_table(static_cast<int>(code)));
}

std::string_view typ_work::lookup_name(std::string_view name, int current) const {
  using namespace tag_codes;
  bool in_z_report = current == Z || current == TXS || current == Z_M || current == IO || current == NC;
  return name == "M" && in_z_report ? std::string_view("Z_M") : name;
}

namespace {

constexpr std::size_t packed_limit = 7;

// The bytes of the name and, in the top byte, its length: equal words are
// equal names. Only names of at most packed_limit bytes are packed.
std::uint64_t pack_name(std::string_view name) {
  std::uint64_t word = static_cast<std::uint64_t>(name.size()) << 56;
  for (std::size_t k = 0; k < name.size(); ++k)
    word |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[k])) << (8 * k);
  return word;
}

}  // namespace

typ_work::packed_table typ_work::packed(const name_table& table) {
  packed_table words;
  for (const auto& [name, code] : table) {
    if (name.size() > packed_limit) throw std::logic_error("dictionary name too long to pack: " + name);
    words.emplace_back(pack_name(name), code);
  }
  return words;
}

std::optional<int> typ_work::find_packed(const packed_table& table, std::string_view name) {
  // No name of the dictionary is longer than packed_limit.
  if (name.size() > packed_limit) return std::nullopt;
  const std::uint64_t word = pack_name(name);
  for (const auto& [entry, code] : table)
    if (entry == word) return code;
  return std::nullopt;
}

std::optional<int> typ_work::find_element(std::string_view name, int current) const {
  return find_packed(packed_tags_, lookup_name(name, current));
}

std::optional<int> typ_work::find_attribute(int element, std::string_view name) const {
  const bool listed = element >= 0 && static_cast<std::size_t>(element) < element_kinds;
  return find_packed(listed ? packed_attributes_[static_cast<std::size_t>(element)] : packed_attr_rq_, name);
}

int typ_work::element_code(std::string_view name, int current) const {
  return find_element(name, current).value_or(0);
}

bool typ_work::knows_element(std::string_view name, int current) const {
  return find_element(name, current).has_value();
}

int typ_work::attribute_code(int element, std::string_view name) const {
  return find_attribute(element, name).value_or(0);
}

bool typ_work::knows_attribute(int element, std::string_view name) const {
  return find_attribute(element, name).has_value();
}

const name_table& typ_work::attribute_table(int element) const {
  using namespace tag_codes;
  switch (element) {
    case DAT: return attr_dat_;
    case MAC: return attr_mac_;
    case C: return attr_c_;
    case Z: return attr_z_;
    case TS: return attr_ts_;
    case P:
    case CP: return attr_sale_;
    case D:
    case S: return attr_up_down_;
    case M: return attr_pay_;
    case I:
    case O: return attr_in_out_;
    case L: return attr_comment_;
    case H: return attr_serv_info_;
    case VD: return attr_cancel_;
    case E: return attr_end_;
    case TXS: return attr_txs_;
    case Z_M: return attr_z_m_;
    case IO: return attr_io_;
    case NC: return attr_nc_;
    case TX: return attr_tx_;
    default: return attr_rq_;
  }
}

}  // namespace ejscope
