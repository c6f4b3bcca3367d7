#include "sim/journal.h"

#include <charconv>
#include <pugixml.hpp>
#include <stdexcept>

namespace ejscope::sim {

namespace {

// The decimal text of an attribute ("5", also "5.0"), or nothing.
std::optional<int> integer_attribute(const pugi::xml_node& node, const char* name) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return std::nullopt;
  const std::string_view text = attribute.value();
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end == text.data()) return std::nullopt;
  std::string_view rest = text.substr(static_cast<std::size_t>(end - text.data()));
  if (!rest.empty() && rest.front() == '.') rest.remove_prefix(1);
  if (rest.find_first_not_of('0') != std::string_view::npos) return std::nullopt;
  return value;
}

struct string_writer : pugi::xml_writer {
  std::string& out;
  explicit string_writer(std::string& o) : out(o) {}
  void write(const void* data, std::size_t size) override { out.append(static_cast<const char*>(data), size); }
};

// The node's XML text in one line, its bytes as they were read.
void append_raw(const pugi::xml_node& node, std::string& out) {
  string_writer writer(out);
  node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
}

journal_document read_document(const pugi::xml_node& dat, const pugi::xml_node& mac, int fallback_di) {
  journal_document doc;
  doc.number = integer_attribute(dat, "DI").value_or(fallback_di);
  if (const pugi::xml_node z = dat.child("Z")) doc.z_number = integer_attribute(z, "NO");
  if (const pugi::xml_node end = dat.child("C").child("E")) doc.receipt_number = integer_attribute(end, "NO");
  doc.ts = dat.child_value("TS");
  append_raw(dat, doc.text);
  if (mac) append_raw(mac, doc.text);
  return doc;
}

}  // namespace

std::optional<int> journal_document::number_of(int kind) const {
  return kind == kind_z_report ? z_number : receipt_number;
}

journal journal::parse(std::string_view tape_text) {
  journal result;
  result.tape_text_ = std::string(tape_text);
  if (tape_text.empty()) return result;

  pugi::xml_document xml;
  // The tape is windows-1251: read as raw bytes so that they are served unchanged.
  const pugi::xml_parse_result parsed =
      xml.load_buffer(tape_text.data(), tape_text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    throw std::runtime_error(std::string("tape is not XML: ") + parsed.description() + " at byte " +
                             std::to_string(parsed.offset));
  }
  const pugi::xml_node root = xml.document_element();
  if (std::string_view(root.name()) != "RQ") throw std::runtime_error("tape root element is not RQ");

  int next_di = 1;
  for (pugi::xml_node node = root.first_child(); node; node = node.next_sibling()) {
    if (node.type() != pugi::node_element || std::string_view(node.name()) != "DAT") continue;
    pugi::xml_node mac = node.next_sibling();
    while (mac && mac.type() != pugi::node_element) mac = mac.next_sibling();
    if (mac && std::string_view(mac.name()) != "MAC") mac = pugi::xml_node();

    journal_document doc = read_document(node, mac, next_di);
    next_di = doc.number + 1;
    const std::size_t position = result.documents_.size();
    if (doc.receipt_number) result.by_receipt_number_.emplace(*doc.receipt_number, position);
    if (doc.z_number) result.by_z_number_.emplace(*doc.z_number, position);
    result.documents_.push_back(std::move(doc));
    if (mac) node = mac;
  }
  return result;
}

const std::map<int, std::size_t>& journal::index(int kind) const {
  return kind == kind_z_report ? by_z_number_ : by_receipt_number_;
}

const journal_document* journal::find(int kind, int number) const {
  const auto& numbers = index(kind);
  const auto found = numbers.find(number);
  return found == numbers.end() ? nullptr : &documents_[found->second];
}

std::vector<const journal_document*> journal::range(int kind, int first, int last) const {
  std::vector<const journal_document*> result;
  if (first > last) return result;
  const auto& numbers = index(kind);
  for (auto it = numbers.lower_bound(first); it != numbers.end() && it->first <= last; ++it) {
    result.push_back(&documents_[it->second]);
  }
  return result;
}

std::optional<std::pair<int, int>> journal::period(std::string_view from, std::string_view to) const {
  std::optional<std::pair<int, int>> result;
  for (const auto& [number, position] : by_receipt_number_) {
    const std::string_view minute = std::string_view(documents_[position].ts).substr(0, 12);
    if (minute.size() < 12 || minute < from || minute > to) continue;
    if (!result) result.emplace(number, number);
    result->second = number;
  }
  return result;
}

}  // namespace ejscope::sim
