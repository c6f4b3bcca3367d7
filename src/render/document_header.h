#pragma once
// The three-part header that opens every rendered document: the header
// block, the taxpayer line and the serial line.
#include <string>
#include <vector>

#include "tape/documents.h"

namespace ejscope {

// The register's header lines as identification read them (windows-1251),
// and the index of the last one held (0 when none was read).
struct register_header {
  std::vector<std::string> lines;
  int last = 0;
};

// Which header block a layout prints.
enum class header_source {
  receipt,   // the register's lines 0 ... last (fixed lines when last is 0)
  z_report,  // the register's lines 0 ... last - 1 (fixed lines when last is 0)
  fixed,     // always the two fixed lines
};

// Appends the header block, "           " + TN of d, and the serial line
// "     ЗН " + ZN of d + "  ФН " + first_fn, where first_fn is the FN of the
// document in slot 0 of the store.
void document_header(std::vector<std::string>& display, const dat& d, const std::string& first_fn,
                     header_source source, const register_header& header);

}  // namespace ejscope
