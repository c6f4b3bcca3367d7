#pragma once
// The version text the main window's title and the about window show (UTF-8).
namespace ejscope::ui {
inline constexpr const char* version_text = "вер. 1.31 от 02.03.2016";
}  // namespace ejscope::ui
