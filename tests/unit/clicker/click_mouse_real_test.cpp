// Clicks synthesised through the system reach the window under the cursor, where the cursor is.

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "clicker/click_mouse.h"
#include "driver.h"
#include "target_window.h"

namespace {

using namespace driver;

constexpr RECT kTargetRect{300, 300, 700, 600};

class ClickMouseReal : public testing::Test {
 protected:
  void SetUp() override {
    target_.TakeCursorAndFocus();
    PumpFor(200ms);
    target_.Clear();
    ::GetCursorPos(&cursorBefore_);
  }

  // The button messages that reached the target once everything sent has arrived.
  std::vector<UINT> ButtonMessagesAfter(std::size_t expected) {
    WaitUntil([&] { return target_.events().size() >= expected; }, 3s);
    PumpFor(300ms);  // anything extra would have come by now
    std::vector<UINT> messages;
    for (const InputEvent& event : target_.events()) {
      if (event.message != WM_KEYDOWN && event.message != WM_KEYUP) messages.push_back(event.message);
    }
    return messages;
  }

  void ExpectCursorNotMoved() const {
    POINT now{};
    ::GetCursorPos(&now);
    EXPECT_EQ(now.x, cursorBefore_.x);
    EXPECT_EQ(now.y, cursorBefore_.y);
  }

  TargetWindow target_{kTargetRect};
  POINT cursorBefore_{};
};

TEST_F(ClickMouseReal, NoArgumentsIsOneLeftClickAtTheCursor) {
  ClickMouse();
  EXPECT_EQ(ButtonMessagesAfter(2), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  ExpectCursorNotMoved();
}

TEST_F(ClickMouseReal, ButtonTwoIsOneRightClick) {
  ClickMouse(kMouseRight);
  EXPECT_EQ(ButtonMessagesAfter(2), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
  ExpectCursorNotMoved();
}

// The first click is handled during the pause, which keeps the thread's messages flowing; the
// second follows one whole double-click time later.
TEST_F(ClickMouseReal, MiddleTwoClicksAreSeparatedByTheDoubleClickTime) {
  const double doubleClickMs = ::GetDoubleClickTime();
  const std::int64_t called = QpcNow();
  ClickMouse(kMouseMiddle, kMouseDoubleClick);
  const std::int64_t returned = QpcNow();

  EXPECT_EQ(ButtonMessagesAfter(4), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}));
  const double callMs = QpcToMs(returned - called);
  EXPECT_GE(callMs, doubleClickMs - 1.0) << "the pause is the whole double-click time";
  EXPECT_LE(callMs, doubleClickMs + 400.0);

  const auto downs = target_.TimesOf(WM_MBUTTONDOWN);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_LT(downs[0], returned) << "the first click was handled while the pause went on";
  const double gapMs = QpcToMs(downs[1] - downs[0]);
  EXPECT_GE(gapMs, doubleClickMs - 50.0);
  EXPECT_LE(gapMs, doubleClickMs + 400.0);
  ExpectCursorNotMoved();
}

}  // namespace
