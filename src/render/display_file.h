#pragma once
// The two files that leave the renderer: the saved display and the error
// log. Both are windows-1251 bytes with CR LF after every line.
#include <string>
#include <vector>

namespace ejscope {

// Writes every line, in order, followed by CR LF (the last one included),
// replacing the file; nothing is trimmed or converted. Throws
// std::runtime_error "Cannot create file <path>" when the file cannot be
// written; an empty display gives an empty file.
void save_display(const std::vector<std::string>& lines, const std::string& path);

// Empties (or creates) the log and writes the message and CR LF, so that the
// log holds the last failure only. A log that cannot be written is skipped
// silently.
void log_render_error(const std::string& message, const std::string& path = "error.log");

}  // namespace ejscope
