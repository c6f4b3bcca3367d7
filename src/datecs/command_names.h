#pragma once
// Names of the Datecs commands, indexed by code 20h..EEh (windows-1251).
#include <string>

namespace ejscope::datecs {

// The entry of a code above 20h and up to EEh when it is named, else
// "Неверная команда".
const std::string& command_name(int code);

}  // namespace ejscope::datecs
