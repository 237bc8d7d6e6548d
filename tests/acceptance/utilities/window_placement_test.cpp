// Where the main window shows itself, the pin button, and the top-left button, driven the way a
// person would from a separate process.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "driver.h"
#include "first_showing.h"

namespace {

using namespace driver;
using utilities::FirstShowing;
using utilities::WatchFirstShowing;

constexpr RECT kAtTheOrigin{0, 0, 367, 49};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
  std::ostringstream text;
  text << "(" << r.left << ", " << r.top << ") - (" << r.right << ", " << r.bottom << ")";
  return text.str();
}

class WindowPlacementTest : public testing::Test {
 protected:
  void Launch() {
    program_ = Process::Start(ProgramPath());
    ASSERT_TRUE(program_.Running()) << "the program did not start";
    showing_ = WatchFirstShowing(program_, 15s, 300ms);
    window_ = showing_.window;
    ASSERT_NE(window_, nullptr) << "no main window became visible";
    pin_ = FindChild(window_, L"Button", L"取消置顶");
    ASSERT_NE(pin_, nullptr) << "no pin button reading 取消置顶";
  }

  void TearDown() override {
    if (program_.Running()) {
      ::PostMessageW(window_, WM_CLOSE, 0, 0);
      program_.WaitForExit(5s);
    }
  }

  bool PinStateIs(bool topmost, std::wstring_view caption) const {
    return IsTopmost(window_) == topmost && TextOf(pin_) == caption;
  }

  // Grabs the caption bar, well left of the close button, and drags it by the offset.
  void DragByCaptionBar(POINT offset) const {
    const RECT frame = ScreenRect(window_);
    POINT clientOrigin{0, 0};
    ::ClientToScreen(window_, &clientOrigin);
    const POINT grab{frame.left + 120, (frame.top + clientOrigin.y) / 2};
    DragFromTo(grab, POINT{grab.x + offset.x, grab.y + offset.y});
  }

  Process program_;
  FirstShowing showing_;
  HWND window_ = nullptr;
  HWND pin_ = nullptr;
};

TEST_F(WindowPlacementTest, FirstShownOnTopAtTheOriginAndThePinButtonTogglesThat) {
  Launch();
  EXPECT_TRUE(SameRect(showing_.rect, kAtTheOrigin)) << "first seen visible at " << Describe(showing_.rect);
  EXPECT_TRUE(showing_.topmost) << "not on top when first visible";
  for (const RECT& place : showing_.placesSeen) {
    EXPECT_TRUE(SameRect(place, kAtTheOrigin)) << "also seen visible at " << Describe(place);
  }

  ClickOn(pin_);
  EXPECT_TRUE(WaitUntil([&] { return PinStateIs(false, L"置顶"); }, 3s))
      << "after one press: topmost " << IsTopmost(window_) << ", caption " << testing::PrintToString(TextOf(pin_));
  ClickOn(pin_);
  EXPECT_TRUE(WaitUntil([&] { return PinStateIs(true, L"取消置顶"); }, 3s))
      << "after two presses: topmost " << IsTopmost(window_) << ", caption "
      << testing::PrintToString(TextOf(pin_));
}

TEST_F(WindowPlacementTest, TopLeftButtonBringsTheDraggedWindowBackAndChangesNothingElse) {
  Launch();
  HWND topLeft = FindChild(window_, L"ToolkitFlatButton", L"左上");
  ASSERT_NE(topLeft, nullptr);

  const auto dragAwayAndBringBack = [&](bool topmost, std::wstring_view pinCaption) {
    DragByCaptionBar(POINT{300, 250});
    ASSERT_TRUE(WaitUntil([&] { return ScreenRect(window_).left >= 200 && ScreenRect(window_).top >= 200; }, 3s))
        << "the caption-bar drag left the window at " << Describe(ScreenRect(window_));
    const RECT dragged = ScreenRect(window_);
    EXPECT_EQ(dragged.right - dragged.left, 367);
    EXPECT_EQ(dragged.bottom - dragged.top, 49);

    ClickOn(topLeft);
    EXPECT_TRUE(WaitUntil([&] { return SameRect(ScreenRect(window_), kAtTheOrigin); }, 3s))
        << "after the top-left button: " << Describe(ScreenRect(window_));
    EXPECT_TRUE(PinStateIs(topmost, pinCaption))
        << "topmost " << IsTopmost(window_) << ", caption " << testing::PrintToString(TextOf(pin_));
    EXPECT_EQ(TextOf(window_), std::wstring(kMainCaption));
  };

  {
    SCOPED_TRACE("on top");
    dragAwayAndBringBack(true, L"取消置顶");
  }
  ClickOn(pin_);
  ASSERT_TRUE(WaitUntil([&] { return PinStateIs(false, L"置顶"); }, 3s));
  {
    SCOPED_TRACE("taken off the top");
    dragAwayAndBringBack(false, L"置顶");
  }
}

}  // namespace
