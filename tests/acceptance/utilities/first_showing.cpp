#include "first_showing.h"

#include <algorithm>

namespace utilities {

namespace {

constexpr wchar_t kMainWindowClass[] = L"ToolkitWindow";

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

HWND VisibleMainWindow(DWORD processId) {
  for (HWND window : driver::TopLevelWindowsOf(processId)) {
    if (driver::ClassOf(window) == kMainWindowClass && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

}  // namespace

std::uint64_t SystemTimeNow() {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

FirstShowing WatchFirstShowing(const driver::Process& program, std::chrono::milliseconds timeout,
                               std::chrono::milliseconds afterwards) {
  FirstShowing showing;
  const auto giveUp = driver::Clock::now() + timeout;
  // No pause between looks: the first sighting must be as close as can be to the showing itself.
  while (driver::Clock::now() < giveUp && program.Running()) {
    if (HWND window = VisibleMainWindow(program.id())) {
      showing.seenAt = SystemTimeNow();
      showing.rect = driver::ScreenRect(window);
      showing.topmost = driver::IsTopmost(window);
      showing.window = window;
      showing.placesSeen.push_back(showing.rect);
      break;
    }
    driver::PumpFor(std::chrono::milliseconds(0));  // whatever is queued, without waiting
  }
  if (!showing.window) return showing;
  const auto stop = driver::Clock::now() + afterwards;
  while (driver::Clock::now() < stop) {
    if (::IsWindowVisible(showing.window)) {
      const RECT rect = driver::ScreenRect(showing.window);
      const auto seen = [&](const RECT& r) { return SameRect(r, rect); };
      if (std::none_of(showing.placesSeen.begin(), showing.placesSeen.end(), seen)) showing.placesSeen.push_back(rect);
    }
    driver::PumpFor(std::chrono::milliseconds(1));
  }
  return showing;
}

}  // namespace utilities
