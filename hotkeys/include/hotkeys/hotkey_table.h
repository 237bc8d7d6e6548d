#pragma once
// The table of system-wide hotkeys that the program watches itself, in registration order.
// Only the window thread touches it; callbacks run on threads of their own and never do.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

// The start routine of a hotkey's thread; it receives the hotkey's id as its parameter.
using HotkeyCallback = DWORD(WINAPI*)(LPVOID parameter);

inline constexpr std::int32_t kFirstHotkeyId = 1000001;

// Modifier weights of HotkeyEntry::modifiers.
inline constexpr std::int32_t kModifierAlt = 1;
inline constexpr std::int32_t kModifierCtrl = 2;
inline constexpr std::int32_t kModifierShift = 4;
inline constexpr std::int32_t kModifierLeftWindows = 8;

struct HotkeyEntry {
  std::int32_t id;         // 1000000 plus the 1-based position in the table
  HotkeyCallback callback; // the only field a later registration changes
  std::int32_t keyCode;    // > 0: triggers while down; < 0: when found up but pressed since the last query
  std::int32_t modifiers;  // exact sum of the modifier weights held at the press
  std::int32_t secondKey;  // a key that must be down at the press; 0 for none
  std::int32_t latched;    // 1 from entering the trigger state until leaving it
};

// Entries are appended and never removed or moved, so ids stay equal to their positions.
using HotkeyTable = std::vector<std::unique_ptr<HotkeyEntry>>;

// Null before CreateHotkeyTable and after FreeHotkeyTable.
extern std::unique_ptr<HotkeyTable> g_hotkeyTable;

void CreateHotkeyTable();
// Releases every entry in table order, then the table. The program's exit hook.
void FreeHotkeyTable();
