#pragma once
// Watches the program's main window from the moment the process starts, to see where and how it
// first becomes visible, and everywhere it is seen visible shortly after.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "driver.h"

namespace utilities {

struct FirstShowing {
  HWND window = nullptr;
  RECT rect{};                    // where it was first seen visible
  bool topmost = false;           // its state at that moment
  std::uint64_t seenAt = 0;       // GetSystemTimeAsFileTime at that moment
  std::vector<RECT> placesSeen;   // every distinct visible rectangle seen, the first one first
};

// Polls the process's top-level windows of the main window's class without pause until one is
// visible, then for `afterwards` longer. window stays null if none became visible in time.
FirstShowing WatchFirstShowing(const driver::Process& program, std::chrono::milliseconds timeout,
                               std::chrono::milliseconds afterwards);

std::uint64_t SystemTimeNow();

}  // namespace utilities
