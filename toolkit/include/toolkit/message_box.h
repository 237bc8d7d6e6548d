#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

namespace toolkit {

inline constexpr std::string_view kDefaultMessageBoxTitle = "信息：";

// A message box without owner, modal to the calling thread's windows; returns the button
// that closed it. Style 0 is a single OK button without icon.
int ShowMessageBox(std::string_view text, UINT style = MB_OK, std::optional<std::string_view> title = std::nullopt);

}  // namespace toolkit
