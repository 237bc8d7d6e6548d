#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "clicker/click_mouse.h"

namespace {

// What reached the sink, in order: mouse_event flags, or kPause for the pause between two clicks.
constexpr DWORD kPause = 0;
std::vector<DWORD> g_received;

void Record(DWORD flags) { g_received.push_back(flags); }
void RecordPause() { g_received.push_back(kPause); }
constexpr MouseSink kRecordingSink{&Record, &RecordPause};

constexpr DWORD kLeftDown = MOUSEEVENTF_LEFTDOWN, kLeftUp = MOUSEEVENTF_LEFTUP;
constexpr DWORD kRightDown = MOUSEEVENTF_RIGHTDOWN, kRightUp = MOUSEEVENTF_RIGHTUP;
constexpr DWORD kMiddleDown = MOUSEEVENTF_MIDDLEDOWN, kMiddleUp = MOUSEEVENTF_MIDDLEUP;

struct ClickCase {
  const char* label;
  std::int32_t button;
  std::int32_t action;
  std::vector<DWORD> expected;
};

class ClickMouseTest : public testing::TestWithParam<ClickCase> {
 protected:
  void SetUp() override { g_received.clear(); }
};

TEST_P(ClickMouseTest, SendsExactlyTheseEvents) {
  const ClickCase& c = GetParam();
  ClickMouse(c.button, c.action, kRecordingSink);
  EXPECT_EQ(g_received, c.expected) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ClickMouseTest,
    testing::Values(ClickCase{"left by default", 0, 0, {kLeftDown, kLeftUp}},
                    ClickCase{"left", 1, 0, {kLeftDown, kLeftUp}},
                    ClickCase{"right", 2, 0, {kRightDown, kRightUp}},
                    ClickCase{"middle", 3, 0, {kMiddleDown, kMiddleUp}}));

INSTANTIATE_TEST_SUITE_P(
    Actions, ClickMouseTest,
    testing::Values(ClickCase{"click", 1, 1, {kLeftDown, kLeftUp}},
                    ClickCase{"two left clicks", 1, 2, {kLeftDown, kLeftUp, kPause, kLeftDown, kLeftUp}},
                    ClickCase{"two middle clicks", 3, 2, {kMiddleDown, kMiddleUp, kPause, kMiddleDown, kMiddleUp}},
                    ClickCase{"two right clicks", 2, 2, {kRightDown, kRightUp, kPause, kRightDown, kRightUp}},
                    ClickCase{"press only", 2, 3, {kRightDown}},
                    ClickCase{"release only", 3, 4, {kMiddleUp}}));

// Nothing at all: no event and no pause, whichever of the two is out of range.
INSTANTIATE_TEST_SUITE_P(
    Invalid, ClickMouseTest,
    testing::Values(ClickCase{"button 4", 4, 0, {}}, ClickCase{"button -1", -1, 0, {}},
                    ClickCase{"button 4 with two clicks", 4, 2, {}},
                    ClickCase{"largest button", INT32_MAX, 2, {}}, ClickCase{"action 5", 0, 5, {}},
                    ClickCase{"action -1", 1, -1, {}}, ClickCase{"smallest action", 3, INT32_MIN, {}},
                    ClickCase{"both invalid", -1, -1, {}}));

}  // namespace
