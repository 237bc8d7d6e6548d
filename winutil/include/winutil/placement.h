#pragma once
// Moving the main window.

#include <windows.h>

#include <cstdint>
#include <string_view>

inline constexpr std::string_view kMainWindowName = "主窗口";

// Moves and sizes a window; each value counts only when its flag is non-zero, the others keep
// what the window has now. Places are on the screen for a top-level window and in the parent's
// client area for a child, as MoveWindow takes them. The window is repainted and not activated.
void SetWindowBounds(HWND window, std::int32_t left, std::int32_t leftGiven, std::int32_t top, std::int32_t topGiven,
                     std::int32_t width, std::int32_t widthGiven, std::int32_t height, std::int32_t heightGiven);

// The top-left button: the window's outer corner to the primary screen's origin, size kept.
void OnMoveTopLeftClicked();
