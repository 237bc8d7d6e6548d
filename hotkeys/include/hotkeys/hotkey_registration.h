#pragma once
// Binding a callback to a key combination, and starting the poll timer that watches the table.

#include <windows.h>

#include <cstdint>
#include <functional>

#include "hotkeys/hotkey_table.h"

inline constexpr UINT_PTR kPollTimerId = 6665;
inline constexpr UINT kPollPeriodMs = 10;

// Starts the windowless thread timer that drives the poller. The default is SetTimer with no window.
using PollTimerStarter = std::function<void(UINT_PTR timerId, UINT periodMs, TIMERPROC procedure)>;

// Replaces the timer start, for tests; an empty function puts SetTimer back.
void SetPollTimerStarter(PollTimerStarter starter);

// Binds callback to (keyCode, modifiers, secondKey) and returns the hotkey's id. A combination that is
// already registered keeps its entry, id and latch and only gets the new callback; any other is
// appended with the next id. The first entry starts the 10 ms poll timer on the calling thread, which
// must be the window thread. The sign of keyCode is part of the combination: 116 and -116 differ.
std::int32_t RegisterHotkey(HotkeyCallback callback, std::int32_t keyCode, std::int32_t modifiers = 0,
                            std::int32_t secondKey = 0);
