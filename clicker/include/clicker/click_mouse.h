#pragma once
// Synthesised mouse clicks at the cursor's current position.

#include <windows.h>

#include <cstdint>

inline constexpr std::int32_t kMouseLeft = 1;
inline constexpr std::int32_t kMouseRight = 2;
inline constexpr std::int32_t kMouseMiddle = 3;

inline constexpr std::int32_t kMouseClick = 1;
inline constexpr std::int32_t kMouseDoubleClick = 2;
inline constexpr std::int32_t kMousePress = 3;
inline constexpr std::int32_t kMouseRelease = 4;

// Where ClickMouse's events go: one mouse_event call per event, and the pause between the two
// clicks of a double click. Tests give their own; the program uses SystemMouse().
struct MouseSink {
  void (*event)(DWORD flags);
  void (*pauseBetweenClicks)();
};
const MouseSink& SystemMouse() noexcept;

// Button 0 or 1 left, 2 right, 3 middle; action 0 or 1 click, 2 two clicks with the whole
// double-click time between them, 3 press only, 4 release only. Any other value sends nothing.
void ClickMouse(std::int32_t button = 0, std::int32_t action = 0, const MouseSink& sink = SystemMouse());
