#pragma once
// The program's one window: its layout and the routines bound to its events.

#include <string_view>

#include "toolkit/layout.h"
#include "winutil/placement.h"

namespace app {

inline constexpr std::string_view kMainWindow = kMainWindowName;

const toolkit::WindowLayout& MainWindowLayout();

}  // namespace app
