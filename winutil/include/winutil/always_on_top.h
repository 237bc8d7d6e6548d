#pragma once
// The pin button. Its caption names what the next press does, and is the only record of it.

#include <string_view>

inline constexpr std::string_view kPinButtonName = "按钮2";
inline constexpr std::string_view kPinCaption = "置顶";      // the window is not on top
inline constexpr std::string_view kUnpinCaption = "取消置顶";  // the window is on top

// Whether a press with this caption puts the window on top: only for exactly "置顶".
bool PinPressPutsOnTop(std::string_view caption) noexcept;

void OnPinToggleClicked();
