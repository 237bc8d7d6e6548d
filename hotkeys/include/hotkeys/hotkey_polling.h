#pragma once
// Watches the registered hotkeys by asking for the state of each key on every tick of the poll timer.
// The keys are neither registered with the system nor hooked, so whichever application has the focus
// still receives every keystroke.

#include <windows.h>

#include <cstdint>
#include <functional>

#include "hotkeys/hotkey_table.h"

// A key's state the way GetAsyncKeyState gives it, widened with its sign: negative while the key is
// down, positive when it is up but was pressed since the previous query, 0 otherwise.
using KeyStateQuery = std::function<std::int32_t(int virtualKey)>;

// Starts callback on a thread of its own with id as the thread's parameter, keeps no handle to it, and
// says whether a thread started.
using HotkeyThreadStarter = std::function<bool(HotkeyCallback callback, std::int32_t id)>;

// Replace the system calls of the poller, for tests. An empty function puts the system call back:
// GetAsyncKeyState, and CreateThread with the handle closed at once.
void SetKeyStateQuery(KeyStateQuery query);
void SetHotkeyThreadStarter(HotkeyThreadStarter starter);

// Whether a key is in the state that triggers its hotkey. A positive key code triggers while the key
// is down, a negative one when the key is found up but was pressed since the previous query, and 0
// in either case.
[[nodiscard]] bool IsTriggerState(std::int32_t keyCode, std::int32_t keyState) noexcept;

// One pass over g_hotkeyTable: fires each hotkey whose key has just entered its trigger state with
// exactly its modifiers and its second key held. Window thread only; allocates nothing.
void PollHotkeys();

// The poll timer's procedure: one pass per tick, whatever the arguments.
void CALLBACK HotkeyTimerProc(HWND window, UINT message, UINT_PTR timerId, DWORD systemTime);
