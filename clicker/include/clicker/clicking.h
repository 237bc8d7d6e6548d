#pragma once
// The click interval and the run toggle. Clicking runs exactly while the click timer's period
// is above 0; there is no other run flag.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string_view>

// The controls of the main window that clicking works with.
inline constexpr std::string_view kIntervalEditName = "编辑框1";
inline constexpr std::string_view kClickTimerName = "时钟1";
inline constexpr std::string_view kIntervalSetMessage = "事件设置成功";

// Milliseconds between clicks. Written on the window thread, read by toggle threads.
extern std::atomic<std::int32_t> g_clickInterval;

// Compares the click timer's period with the interval: equal stops the timer, anything else
// sets the period to the interval. Two toggles never interleave.
void ToggleClicking();

// The F5 hotkey's thread routine; its parameter (the hotkey id) is not needed.
DWORD WINAPI OnToggleHotkey(LPVOID hotkeyId);

// The Set button: the edit box's text becomes the interval; a running timer keeps its period.
void OnSetIntervalClicked();

// The click timer's periodic event: one left click at the cursor.
void OnClickTimer();
