#pragma once
// The program's one window: its layout and the routines bound to its events.

#include <string_view>

#include "toolkit/layout.h"

namespace app {

inline constexpr std::string_view kMainWindow = "主窗口";

const toolkit::WindowLayout& MainWindowLayout();

}  // namespace app
