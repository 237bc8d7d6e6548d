// SetWindowBounds on real windows of this process: each value counts only when its flag says so.

#include <gtest/gtest.h>

#include <windows.h>

#include "toolkit/handles.h"
#include "winutil/placement.h"

namespace {

// A value that must not matter: what a flag of 0 comes with.
constexpr std::int32_t kJunk = 7777;

struct Bounds {
  int left, top, width, height;
  bool operator==(const Bounds&) const = default;
};

void PrintTo(const Bounds& b, std::ostream* out) {
  *out << "{" << b.left << ", " << b.top << ", " << b.width << " x " << b.height << "}";
}

// The window's place as MoveWindow takes it: on the screen, or in the parent's client area.
Bounds BoundsOf(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  if (HWND parent = ::GetParent(window); parent && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) {
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  }
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

const wchar_t* TestWindowClass() {
  static const wchar_t* name = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PlacementTestWindow";
    ::RegisterClassW(&windowClass);
    return windowClass.lpszClassName;
  }();
  return name;
}

// A plain popup: no frame that would make the system enforce a minimum size.
toolkit::WindowHandle MakeWindow(DWORD style, Bounds at, HWND parent = nullptr) {
  return toolkit::WindowHandle(::CreateWindowExW(0, TestWindowClass(), L"placement", style, at.left, at.top, at.width,
                                                 at.height, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

struct Given {
  std::int32_t value;
  std::int32_t flag;
};

struct Case {
  const char* name;
  Given left, top, width, height;
  Bounds expected;
};

void Apply(HWND window, const Case& c) {
  SetWindowBounds(window, c.left.value, c.left.flag, c.top.value, c.top.flag, c.width.value, c.width.flag,
                  c.height.value, c.height.flag);
}

constexpr Given kNotGiven{kJunk, 0};

TEST(SetWindowBoundsTest, TopLevelWindowTakesTheGivenValuesAndKeepsTheOthers) {
  constexpr Bounds start{100, 120, 250, 90};
  const Case cases[] = {
      {"none", kNotGiven, {-kJunk, 0}, kNotGiven, {-kJunk, 0}, start},
      {"only left", {40, 1}, kNotGiven, kNotGiven, kNotGiven, {40, 120, 250, 90}},
      {"only top", kNotGiven, {60, 1}, kNotGiven, kNotGiven, {100, 60, 250, 90}},
      {"only width", kNotGiven, kNotGiven, {180, 1}, kNotGiven, {100, 120, 180, 90}},
      {"only height", kNotGiven, kNotGiven, kNotGiven, {70, 1}, {100, 120, 250, 70}},
      {"all", {10, 1}, {20, 1}, {300, 1}, {110, 1}, {10, 20, 300, 110}},
      {"to the origin, as the top-left button does", {0, 1}, {0, 1}, {0, 0}, {0, 0}, {0, 0, 250, 90}},
      {"any non-zero flag means given", {33, -1}, kNotGiven, kNotGiven, {44, 2}, {33, 120, 250, 44}},
      {"a given place may lie off the screen", {-50, 1}, {-30, 1}, kNotGiven, kNotGiven, {-50, -30, 250, 90}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto window = MakeWindow(WS_POPUP, start);
    ASSERT_TRUE(window);
    ASSERT_EQ(BoundsOf(window.get()), start);
    Apply(window.get(), c);
    EXPECT_EQ(BoundsOf(window.get()), c.expected);
  }
}

TEST(SetWindowBoundsTest, ChildWindowKeepsItsPlaceInTheParentNotOnTheScreen) {
  // The parent stands away from the screen's origin, so screen and client places differ.
  const auto parent = MakeWindow(WS_POPUP, {200, 150, 400, 300});
  ASSERT_TRUE(parent);
  constexpr Bounds start{30, 40, 100, 50};
  const Case cases[] = {
      {"none", kNotGiven, kNotGiven, kNotGiven, kNotGiven, start},
      {"only left", {5, 1}, kNotGiven, kNotGiven, kNotGiven, {5, 40, 100, 50}},
      {"only height", kNotGiven, kNotGiven, kNotGiven, {20, 1}, {30, 40, 100, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto child = MakeWindow(WS_CHILD, start, parent.get());
    ASSERT_TRUE(child);
    ASSERT_EQ(BoundsOf(child.get()), start);
    Apply(child.get(), c);
    EXPECT_EQ(BoundsOf(child.get()), c.expected);
  }
}

}  // namespace
