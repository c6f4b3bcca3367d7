#include "model/control.h"

namespace ejscope {

void walk_tape(control& walk, rq& store, const pugi::xml_document& document) {
  walk.clear();
  walk.read_tape(store, document.document_element());
}

namespace {

// A well-formed text has exactly one element at its top; the parser alone
// would take the first element and drop the documents of any later one.
bool single_top_element(const pugi::xml_document& document) {
  int elements = 0;
  for (pugi::xml_node node : document.children())
    if (node.type() == pugi::node_element) ++elements;
  return elements == 1;
}

walk_error tape_too_large(const rq& store, std::size_t size) {
  return walk_error(store.doc_index, "XML text rejected: " + std::to_string(size) + " bytes, more than the " +
                                         std::to_string(max_tape_bytes) + " a tape may hold");
}

}  // namespace

void walk_tape(control& walk, rq& store, std::string_view xml_text) {
  // The tape is windows-1251; read as UTF-8 its bytes pass through unchanged,
  // and the envelope's encoding declaration is not consulted.
  if (xml_text.size() > max_tape_bytes) throw tape_too_large(store, xml_text.size());
  pugi::xml_document document;
  pugi::xml_parse_result parsed =
      document.load_buffer(xml_text.data(), xml_text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed)
    throw walk_error(store.doc_index, std::string("XML text rejected: ") + parsed.description() +
                                          " at byte " + std::to_string(parsed.offset));
  if (!single_top_element(document))
    throw walk_error(store.doc_index, "XML text rejected: more than one top-level element");
  walk.clear();
  walk.read_tape_releasing(store, document.document_element());
}

void walk_tape(control& walk, rq& store, const std::vector<std::string>& xml_lines) {
  std::size_t size = 0;
  for (const std::string& line : xml_lines) size += line.size() + 1;
  if (size > max_tape_bytes) throw tape_too_large(store, size);
  std::string text;
  text.reserve(size);
  for (const std::string& line : xml_lines) {
    text += line;
    text += '\n';
  }
  walk_tape(walk, store, text);
}

}  // namespace ejscope
