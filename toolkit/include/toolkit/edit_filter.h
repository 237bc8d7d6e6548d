#pragma once

#include <string_view>

namespace toolkit {

// Whether a character typed into a filtered edit box gets in: control characters (Backspace
// among them) always do; others only when they are in the accepted set (empty: all of them).
constexpr bool FilterAccepts(std::wstring_view accepted, wchar_t typed) noexcept {
  if (typed < 32 || accepted.empty()) return true;
  return accepted.find(typed) != std::wstring_view::npos;
}

}  // namespace toolkit
