// The run toggle and the Set button against a real timer control and edit box, loaded from a
// small layout of their own.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "clicker/clicking.h"
#include "toolkit/layout.h"
#include "toolkit/message_box.h"
#include "toolkit/program.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

namespace {

using toolkit::property::kEditText;
using toolkit::property::kTimerPeriod;

constexpr std::array kControls{
    toolkit::ControlRow{kIntervalEditName, 11, {0, 0, 80, 20}, L"500", true, toolkit::EditSpec{}},
    toolkit::ControlRow{kClickTimerName, 12, {0, 0, 24, 24}, L"", false, toolkit::TimerSpec{.period = 0}},
};

constexpr toolkit::WindowLayout kLayout{
    .name = "点击测试窗口",
    .layoutId = 1,
    .id = 10,
    .caption = L"clicking test",
    .stored = {0, 0, 200, 80},
    .startPlace = toolkit::StartPlace::Stored,
    .toolWindow = true,
    .topmost = false,
    .visible = false,
    .escapeCloses = false,
    .controls = kControls,
    .bindings = {},
};

void LoadTestWindowOnce() {
  static const bool loaded = [] {
    toolkit::Initialise();
    toolkit::LoadWindow(kLayout);
    return true;
  }();
  (void)loaded;
}

std::int32_t Period() { return toolkit::ReadIntProperty(kClickTimerName, kTimerPeriod); }
void SetPeriod(std::int32_t period) { toolkit::WriteIntProperty(kClickTimerName, kTimerPeriod, period); }

class ClickingTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { LoadTestWindowOnce(); }
  void SetUp() override {
    SetPeriod(0);
    g_clickInterval = 0;
  }
};

struct ToggleCase {
  const char* label;
  std::int32_t periodBefore;
  std::int32_t interval;
  std::int32_t periodAfter;
};

class ToggleTest : public ClickingTest, public testing::WithParamInterface<ToggleCase> {};

TEST_P(ToggleTest, WritesTheOutcomeOfComparingPeriodAndInterval) {
  const ToggleCase& c = GetParam();
  SetPeriod(c.periodBefore);
  ASSERT_EQ(Period(), c.periodBefore);
  g_clickInterval = c.interval;
  ToggleClicking();
  EXPECT_EQ(Period(), c.periodAfter) << c.label;
  EXPECT_EQ(g_clickInterval.load(), c.interval) << "the toggle never writes the interval";
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ToggleTest,
    testing::Values(ToggleCase{"stopped, positive interval: starts", 0, 500, 500},
                    ToggleCase{"running at the interval: stops", 500, 500, 0},
                    ToggleCase{"running at another interval: switches to it", 500, 200, 200},
                    ToggleCase{"running, interval 0: stops", 500, 0, 0},
                    ToggleCase{"running, negative interval: stops", 500, -100, 0},
                    ToggleCase{"stopped, interval 0: stays stopped", 0, 0, 0},
                    ToggleCase{"stopped, negative interval: stays stopped", 0, -100, 0}));

TEST_F(ClickingTest, TheHotkeyRoutineTogglesAndEndsItsThread) {
  g_clickInterval = 300;
  DWORD threadId = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, &OnToggleHotkey, reinterpret_cast<LPVOID>(1000001), 0, &threadId);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(::WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  ::CloseHandle(thread);
  EXPECT_EQ(Period(), 300);
}

// Two presses of F5 close together each run a toggle on a thread of its own. They must act as
// two toggles in a row: started then stopped, or switched then stopped, never left running.
TEST_F(ClickingTest, TwoOverlappingTogglesActAsTwoTogglesInARow) {
  constexpr int kRounds = 300;
  for (const std::int32_t periodBefore : {0, 500}) {
    for (int round = 0; round < kRounds; ++round) {
      SetPeriod(periodBefore);
      g_clickInterval = 300;
      std::atomic<int> ready{0};
      const auto toggle = [&ready] {
        ready.fetch_add(1);
        while (ready.load() < 2) {
        }
        ToggleClicking();
      };
      std::thread first(toggle);
      std::thread second(toggle);
      first.join();
      second.join();
      ASSERT_EQ(Period(), 0) << "period before " << periodBefore << ", round " << round;
    }
  }
}

// The confirmation box of the Set button, as the closer saw it.
struct SeenBox {
  bool shown = false;
  std::wstring title;
  std::vector<std::wstring> texts;
  std::vector<std::wstring> buttons;
};
SeenBox g_seenBox;

BOOL CALLBACK CollectBoxChild(HWND child, LPARAM) {
  wchar_t className[64]{};
  ::GetClassNameW(child, className, 64);
  wchar_t text[256]{};
  ::GetWindowTextW(child, text, 256);
  if (::lstrcmpiW(className, L"Static") == 0 && text[0] != L'\0') g_seenBox.texts.emplace_back(text);
  if (::lstrcmpiW(className, L"Button") == 0 && ::IsWindowVisible(child)) g_seenBox.buttons.emplace_back(text);
  return TRUE;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t className[64]{};
  ::GetClassNameW(window, className, 64);
  if (std::wstring_view(className) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Runs inside the message box's own loop: notes what the box shows and presses its OK button.
void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&box));
  if (!box || g_seenBox.shown) return;
  g_seenBox.shown = true;
  wchar_t title[256]{};
  ::GetWindowTextW(box, title, 256);
  g_seenBox.title = title;
  ::EnumChildWindows(box, &CollectBoxChild, 0);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

struct SetCase {
  const char* label;
  const char* text;  // UTF-8, as the edit box hands it over
  std::int32_t periodBefore;
  std::int32_t interval;
};

class SetIntervalTest : public ClickingTest, public testing::WithParamInterface<SetCase> {};

TEST_P(SetIntervalTest, StoresTheConvertedTextConfirmsAndLeavesTheTimerAlone) {
  const SetCase& c = GetParam();
  SetPeriod(c.periodBefore);
  g_clickInterval = 777;
  toolkit::WriteTextProperty(kIntervalEditName, kEditText, c.text);
  g_seenBox = {};
  const UINT_PTR closer = ::SetTimer(nullptr, 0, 50, &CloseMessageBox);
  OnSetIntervalClicked();
  ::KillTimer(nullptr, closer);

  EXPECT_EQ(g_clickInterval.load(), c.interval) << c.label;
  EXPECT_EQ(Period(), c.periodBefore) << "a running timer keeps its period until the next toggle";
  ASSERT_TRUE(g_seenBox.shown) << "no confirmation box";
  EXPECT_EQ(g_seenBox.title, toolkit::Utf8ToWide(toolkit::kDefaultMessageBoxTitle));
  EXPECT_EQ(g_seenBox.texts, std::vector<std::wstring>{toolkit::Utf8ToWide(kIntervalSetMessage)});
  EXPECT_EQ(g_seenBox.buttons.size(), 1u) << "a single OK button";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SetIntervalTest,
    testing::Values(SetCase{"plain number while stopped", "200", 0, 200},
                    SetCase{"plain number while running", "200", 500, 200},
                    SetCase{"the running period itself", "500", 500, 500},
                    SetCase{"empty", "", 500, 0},
                    SetCase{"letters", "abc", 0, 0},
                    SetCase{"negative", "-100", 500, -100},
                    SetCase{"leading number of a longer text", " 250ms", 0, 250},
                    SetCase{"full-width digits", "５００", 0, 500},
                    SetCase{"30 digits wrap modulo 2^32", "123456789012345678901234567890", 500, 1312754386}));

}  // namespace
