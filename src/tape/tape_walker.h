#pragma once
// The walk of the electronic control tape's XML tree into the document
// store, and the sort of the documents by `DI`.
//
// One request: `current` := 0, load the XML text, `read_tape` with the
// document element, then (request by numbers only) `sort_documents`.
// `walk_tape` does the first three steps on a text.
//
// The walk visits the tree in document order without recursion (it follows
// the parent links of the DOM), so nesting depth is bounded only by memory.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "tape/documents.h"
#include "tape/tag_dictionary.h"

namespace ejscope {

// A failure of loading or walking a tape. The message names the document
// slot, the element, the attribute (empty for an element's text or for a text
// the XML parser rejected) and the offending value.
class walk_error : public std::runtime_error {
 public:
  walk_error(int slot, std::string element, std::string attribute, std::string value,
             const std::string& reason);
  // A text the XML parser rejected.
  walk_error(int slot, const std::string& reason);

  int slot() const { return slot_; }
  const std::string& element() const { return element_; }
  const std::string& attribute() const { return attribute_; }
  const std::string& value() const { return value_; }

 private:
  int slot_;
  std::string element_, attribute_, value_;
};

// The walk state: the code of the element most recently started (which
// follows document order, not nesting) and the dictionary.
class control {
 public:
  int current = 0;
  typ_work tags;

  // Sets `current` back to 0, as at the start of every request.
  void clear() { current = 0; }

  // The entry: the root's attributes with the table of `RQ`, then its
  // children. The root itself is neither closed nor given a code.
  void read_tape(rq& store, pugi::xml_node root);
  // The same for a DOM the walk may consume: each child of the root is
  // removed from the DOM once it and its descendants are walked, so that the
  // DOM's memory goes back while the model grows.
  void read_tape_releasing(rq& store, pugi::xml_node root);
  // Every child of `parent` and all their descendants, in document order.
  void walk_children(rq& store, pugi::xml_node parent);
  // The attributes of `element` for the element `current`; names missing from
  // its table are ignored.
  void walk_attributes(rq& store, pugi::xml_node element);
  // Files one value (attribute code, or 0 for the text of `TS`, 1 for the text
  // of `L` and `H`) for the element `current`. Throws walk_error when a
  // number or short cannot be read; `element` and `attribute` name the value
  // in that message.
  void store_value(rq& store, int code, std::string_view value, std::string_view element = {},
                   std::string_view attribute = {});
  // Ends the element `current` against the current document: advances the
  // counter of its kind (and the receipt's `line_no` for receipt lines).
  void close_element(rq& store);

 private:
  void visit(rq& store, pugi::xml_node node);
};

// Puts the documents of slots 0 ... doc_index - 1 in ascending `DI` order
// (documents with equal `DI` keep their order); slots at or after
// `doc_index` and the `MAC` records stay as they are.
void sort_documents(rq& store);

// The largest tape text the walk loads. The DOM of a text takes up to about
// sixteen times its size (one node per "<a/>", one attribute per ' a=""'),
// so this bounds the memory of a walk to about 1 GiB in the worst case and
// keeps a whole register journal of typical documents (about 0.5 KiB each).
constexpr std::size_t max_tape_bytes = std::size_t{64} << 20;

// Sets `current` to 0, loads the XML text (windows-1251 bytes, kept as they
// are) and walks its document element into the store. Throws walk_error,
// also for a text longer than max_tape_bytes.
void walk_tape(control& walk, rq& store, std::string_view xml_text);
// The same for the assembled tape lines, joined by line breaks.
void walk_tape(control& walk, rq& store, const std::vector<std::string>& xml_lines);
// The same for a loaded DOM document.
void walk_tape(control& walk, rq& store, const pugi::xml_document& document);

}  // namespace ejscope
