#pragma once
// Names and parameter templates of the Kelvora commands, indexed by code
// 20h..EEh (windows-1251).
#include <string>

namespace ejscope::kelvora {

// The entry of a code from 20h to EEh when it is named, else "Неверная команда".
const std::string& command_name(int code);

// The data fields of a named command in angle brackets, each followed by
// ";" (the access password left out), or "Параметров нет"; empty for codes
// without a command and for commands whose template is not known.
const std::string& command_template(int code);

}  // namespace ejscope::kelvora
