#include "tape/tape_walker.h"

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

// Loads the text with `load` (a copy, or in place in a text the walk owns)
// and walks it, releasing the DOM as it goes.
template <class Load>
void load_and_walk(control& walk, rq& store, Load&& load) {
  pugi::xml_document document;
  pugi::xml_parse_result parsed = load(document);
  if (!parsed)
    throw walk_error(store.doc_index, std::string("XML text rejected: ") + parsed.description() +
                                          " at byte " + std::to_string(parsed.offset));
  if (!single_top_element(document))
    throw walk_error(store.doc_index, "XML text rejected: more than one top-level element");
  walk.clear();
  walk.read_tape_releasing(store, document.document_element());
}

}  // namespace

void walk_tape(control& walk, rq& store, std::string_view xml_text) {
  // The tape is windows-1251; read as UTF-8 its bytes pass through unchanged,
  // and the envelope's encoding declaration is not consulted.
  if (xml_text.size() > max_tape_bytes) throw tape_too_large(store, xml_text.size());
  load_and_walk(walk, store, [&](pugi::xml_document& document) {
    return document.load_buffer(xml_text.data(), xml_text.size(), pugi::parse_default, pugi::encoding_utf8);
  });
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
  // The joined text is the walk's own: the DOM is built in it, not in a copy.
  load_and_walk(walk, store, [&](pugi::xml_document& document) {
    return document.load_buffer_inplace(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  });
}

}  // namespace ejscope
