#pragma once
// The rendering pass: the documents of the typed number range, in the order
// of their `DI`, each laid out by the document type and appended to the
// display. A document that fails keeps its partial lines; its message goes
// to the error log and the pass goes on.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tape/documents.h"
#include "render/document_header.h"
#include "tape/number_map.h"

namespace ejscope {

// The index of the document type in the request window's list.
namespace document_types {
inline constexpr int z_report = 0;     // "Z-отчет"
inline constexpr int check = 1;        // "Чек"
inline constexpr int check_and_z = 2;  // "Чек+Z-отчет"
inline constexpr int cash_in_out = 3;  // "Внес./Изъят."
}  // namespace document_types

struct render_settings {
  int document_type = document_types::check;
  register_header header;   // header_lines and header_last
  bool colvo_flag = false;  // the " 1.000 X" form of sale lines without quantity
  std::string error_log_path = "error.log";
};

// The line appended for an empty store.
const std::string& no_data_line();

// Renders the documents from the position of first_text to that of
// last_text (both integer texts; any other text throws render_error before
// a line is appended). Returns the number of documents that failed.
int render_documents(const rq& store, const render_settings& settings, std::string_view first_text,
                     std::string_view last_text, sootv& z_doc_map, sootv& fetched_z,
                     std::vector<std::string>& display);

enum class position_side { first, last };

// The slot a typed number maps to. For the type "Z-отчет" the numbers are
// Z-report numbers and only the Z-reports are looked at; for the other types
// only the receipts (`NO` of their end). A number not found falls back to 0,
// or to the last slot whose number was smaller.
int find_position(const rq& store, int document_type, int number, position_side side);

// For every slot 0 ... doc_index - 1: (slot, `DI` truncated toward zero).
std::vector<std::pair<int, int>> build_doc_order(const rq& store);

}  // namespace ejscope
