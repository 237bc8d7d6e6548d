// The whole program as a user meets it: F5 pressed anywhere starts and stops clicking at the
// cursor, the Set button changes the interval, and closing ends everything. Real input only.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "driver.h"
#include "program_session.h"
#include "target_window.h"

namespace {

using namespace driver;

// Far from the main window (top-left corner) and from the screen's centre, where boxes appear.
constexpr RECT kTargetRect{600, 80, 1000, 380};
// Timer periods on a loaded two-core machine under Wine wander; a period counts as the
// expected one within this margin.
constexpr double kPeriodToleranceMs = 80.0;

std::vector<double> Gaps(const std::vector<std::int64_t>& times) {
  std::vector<double> gaps;
  for (std::size_t i = 1; i < times.size(); ++i) gaps.push_back(QpcToMs(times[i] - times[i - 1]));
  return gaps;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

class WholeSystemTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.ok()) << "the program did not show its window";
    target_.TakeCursorAndFocus();
    target_.Clear();
  }

  // F5 as a person presses it, with the cursor and the focus on the target.
  std::int64_t PressF5() {
    const std::int64_t pressed = QpcNow();
    PressKey(VK_F5);
    return pressed;
  }

  void ReturnToTarget() { target_.TakeCursorAndFocus(); }

  // Sets the interval with the program's own window, as a user does, and goes back to the target.
  void SetIntervalThenReturn(std::wstring_view text, bool paste = false) {
    EXPECT_EQ(program_.SetInterval(text, paste), L"事件设置成功");
    ReturnToTarget();
  }

  // Left clicks that reached the target since the given moment.
  std::vector<std::int64_t> ClicksSince(std::int64_t since) const {
    std::vector<std::int64_t> clicks;
    for (std::int64_t t : target_.TimesOf(WM_LBUTTONDOWN)) {
      if (t >= since) clicks.push_back(t);
    }
    return clicks;
  }

  // Waits a while and returns the median gap between the clicks that came meanwhile.
  double MeasurePeriod(std::chrono::milliseconds duration, std::size_t* count = nullptr) {
    const std::int64_t start = QpcNow();
    PumpFor(duration);
    const auto clicks = ClicksSince(start);
    if (count) *count = clicks.size();
    return Median(Gaps(clicks));
  }

  void ExpectNoClicksFor(std::chrono::milliseconds duration, const char* why) {
    const std::int64_t start = QpcNow();
    PumpFor(duration);
    EXPECT_EQ(ClicksSince(start).size(), 0u) << why;
  }

  // Once the program has ended: no further click arrives and no mouse button stays held.
  void ExpectNothingLeftBehind() {
    PumpFor(100ms);  // a click injected just before the end may still be on its way
    target_.Clear();
    ExpectNoClicksFor(800ms, "no click once the program is gone");
    for (int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
      EXPECT_GE(::GetAsyncKeyState(button), 0) << "mouse button " << button << " left held down";
    }
  }

  ProgramSession program_;
  TargetWindow target_{kTargetRect};
};

TEST_F(WholeSystemTest, F5StartsClickingEvery500MsAtTheCursorAndF5StopsIt) {
  const RECT window = ScreenRect(program_.window());
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.top, 0);
  EXPECT_TRUE(IsTopmost(program_.window()));

  const std::int64_t pressed = PressF5();
  PumpFor(2300ms);
  PressF5();
  const auto clicks = ClicksSince(pressed);
  const auto releases = target_.TimesOf(WM_LBUTTONUP);

  ASSERT_GE(clicks.size(), 3u);
  ASSERT_LE(clicks.size(), 5u);
  // The first click comes one whole period after the press, not at once.
  const double first = QpcToMs(clicks.front() - pressed);
  EXPECT_GT(first, 500.0 - kPeriodToleranceMs);
  EXPECT_LT(first, 500.0 + 10.0 + kPeriodToleranceMs);
  for (double gap : Gaps(clicks)) EXPECT_NEAR(gap, 500.0, kPeriodToleranceMs);
  EXPECT_EQ(releases.size(), target_.TimesOf(WM_LBUTTONDOWN).size()) << "every press is released";

  ExpectNoClicksFor(1500ms, "F5 again stops clicking");
  // The keystroke is polled, not taken: the focused text box saw both presses.
  EXPECT_EQ(target_.KeyDownCount(VK_F5), 2u);
}

TEST_F(WholeSystemTest, SetTakesEffectAtTheNextF5WithoutStoppingAndTheF5AfterStops) {
  // Set 200 while stopped: the next F5 clicks every 200 ms.
  SetIntervalThenReturn(L"200");
  PressF5();
  EXPECT_NEAR(MeasurePeriod(1500ms), 200.0, kPeriodToleranceMs);
  PressF5();
  ExpectNoClicksFor(800ms, "stopped");

  // Set 500, start, then set 200 while it runs: still 500 until F5, which switches to 200.
  SetIntervalThenReturn(L"500");
  PressF5();
  EXPECT_NEAR(MeasurePeriod(1800ms), 500.0, kPeriodToleranceMs);
  SetIntervalThenReturn(L"200");
  EXPECT_NEAR(MeasurePeriod(1800ms), 500.0, kPeriodToleranceMs) << "a running timer keeps its period";
  PressF5();
  EXPECT_NEAR(MeasurePeriod(1500ms), 200.0, kPeriodToleranceMs) << "F5 switches to the new interval";
  PressF5();
  ExpectNoClicksFor(800ms, "the F5 after that stops it");
}

TEST_F(WholeSystemTest, F5WithAModifierStartsNothingAndAHeldF5TogglesOnce) {
  for (WORD modifier : {VK_CONTROL, VK_MENU, VK_SHIFT}) {
    PressWithModifiers({modifier}, VK_F5);
    ExpectNoClicksFor(900ms, "F5 with a modifier held is not the hotkey");
  }
  const std::int64_t pressed = QpcNow();
  PressKey(VK_F5, 1000ms);
  std::size_t count = 0;
  const double period = MeasurePeriod(1600ms, &count);
  EXPECT_GE(ClicksSince(pressed).size(), 4u) << "a held F5 starts clicking once and does not toggle again";
  EXPECT_NEAR(period, 500.0, kPeriodToleranceMs);
  PressF5();
  ExpectNoClicksFor(900ms, "stopped");
}

TEST_F(WholeSystemTest, AnIntervalOfZeroOrBelowStopsButNeverStarts) {
  const struct {
    const wchar_t* text;
    bool paste;
  } nonPositive[] = {{L"abc", true}, {L"", false}, {L"0", false}, {L"-100", false}};
  for (const auto& input : nonPositive) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(input.text)));
    SetIntervalThenReturn(input.text, input.paste);
    PressF5();
    ExpectNoClicksFor(900ms, "F5 while stopped starts nothing");
  }
  // Clicking at 500, then an interval of 0: F5 stops it and later presses do nothing.
  SetIntervalThenReturn(L"500");
  PressF5();
  EXPECT_NEAR(MeasurePeriod(1300ms), 500.0, kPeriodToleranceMs);
  SetIntervalThenReturn(L"0");
  PressF5();
  PumpFor(100ms);
  ExpectNoClicksFor(900ms, "F5 with interval 0 stops clicking");
  PressF5();
  ExpectNoClicksFor(900ms, "and the next press starts nothing");
  SetIntervalThenReturn(L"300");
  PressF5();
  EXPECT_NEAR(MeasurePeriod(1500ms), 300.0, kPeriodToleranceMs) << "a positive interval starts it again";
  PressF5();
}

TEST_F(WholeSystemTest, ClosingWhileClickingEndsEverythingWithExitCodeZero) {
  SetIntervalThenReturn(L"10");
  PressF5();
  PumpFor(400ms);
  ASSERT_GE(target_.Count(WM_LBUTTONDOWN), 10u);
  const auto exitCode = program_.Close();
  ASSERT_TRUE(exitCode.has_value()) << "the program did not end";
  EXPECT_EQ(*exitCode, 0u);
  ExpectNothingLeftBehind();
}

TEST_F(WholeSystemTest, KillingWhileClickingLeavesNoButtonHeld) {
  SetIntervalThenReturn(L"10");
  PressF5();
  PumpFor(300ms);
  program_.process().Kill();
  ExpectNothingLeftBehind();
}

TEST_F(WholeSystemTest, TwoCopiesEachToggleTheirOwnClicking) {
  ProgramSession second;
  ASSERT_TRUE(second.ok());
  ReturnToTarget();
  const std::int64_t pressed = PressF5();
  PumpFor(2100ms);
  // Each copy clicks every 500 ms: about twice the clicks of one.
  const auto clicks = ClicksSince(pressed);
  EXPECT_GE(clicks.size(), 6u);
  EXPECT_LE(clicks.size(), 10u);
  PressF5();
  ExpectNoClicksFor(1200ms, "the second F5 stops both");
}

}  // namespace
