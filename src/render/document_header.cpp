#include "render/document_header.h"

#include <algorithm>

#include "render/text_rules.h"

namespace ejscope {
namespace {

constexpr int max_header_lines = 9;

std::string centred(const std::string& text) {
  const auto pad = (38 - static_cast<long long>(text.size())) / 2;
  if (pad <= 0) return text;
  return std::string(static_cast<std::size_t>(pad), ' ').append(text);
}

}  // namespace

void document_header(std::vector<std::string>& display, const dat& d, const std::string& first_fn,
                     header_source source, const register_header& header) {
  static const std::string fixed_company = std::string(10, ' ') + win("ДП \"Компанія KORVA\"");
  static const std::string fixed_city = std::string(16, ' ') + win("м.Київ");
  static const std::string serial = win("     ЗН ");
  static const std::string fiscal = win("  ФН ");

  if (source == header_source::fixed || header.last == 0) {
    display.push_back(fixed_company);
    display.push_back(fixed_city);
  } else {
    // The register holds at most nine lines; an index past those held prints nothing.
    int last = source == header_source::receipt ? header.last : header.last - 1;
    last = std::min({last, max_header_lines - 1, static_cast<int>(header.lines.size()) - 1});
    for (int i = 0; i <= last; ++i) display.push_back(centred(header.lines[static_cast<std::size_t>(i)]));
  }
  display.push_back(line_of({"           ", d.TN}));
  display.push_back(line_of({serial, d.ZN, fiscal, first_fn}));
}

}  // namespace ejscope
