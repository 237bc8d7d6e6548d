#pragma once
// Building windows from layouts, and reaching their controls by name.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/layout.h"

namespace toolkit {

// Property numbers of the toolkit's control kinds. 0 to 5 are common to all controls.
namespace property {
inline constexpr int kLeft = 0;
inline constexpr int kTop = 1;
inline constexpr int kWidth = 2;
inline constexpr int kHeight = 3;
inline constexpr int kVisible = 4;
inline constexpr int kEnabled = 5;
inline constexpr int kTimerPeriod = 8;     // timer: period in ms, 0 stopped
inline constexpr int kEditText = 8;        // edit box: current text
inline constexpr int kCaption = 10;        // push button, link, label: caption
inline constexpr int kWindowTopmost = 29;  // window: always on top, 0 or 1
}  // namespace property

// Builds the window hidden at its start place, builds its controls, raises its Created event
// and, if the window still exists and the layout marks it visible, shows and activates it.
// A window that cannot be built is a fatal error.
void LoadWindow(const WindowLayout& layout);

// The native handle of a loaded window or control; a fatal error for one not loaded.
HWND WindowHandleOf(std::string_view name);

std::int32_t ReadIntProperty(std::string_view name, int number);
std::string ReadTextProperty(std::string_view name, int number);
void WriteIntProperty(std::string_view name, int number, std::int32_t value);
void WriteTextProperty(std::string_view name, int number, std::string_view text);

// Whether any window built by the toolkit still exists.
bool AnyWindowLeft() noexcept;

}  // namespace toolkit
