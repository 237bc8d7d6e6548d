// The program under abuse: bursts of F5, floods of bad input. It must stay responsive, give
// back what it takes, and always answer the Set button the same way.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "driver.h"
#include "program_session.h"
#include "target_window.h"

namespace {

using namespace driver;

constexpr RECT kTargetRect{600, 80, 1000, 380};

class ReliabilityTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.ok()) << "the program did not show its window";
    target_.TakeCursorAndFocus();
    target_.Clear();
  }

  bool ClickingObserved(std::chrono::milliseconds window) {
    target_.Clear();
    PumpFor(window);
    return target_.Count(WM_LBUTTONDOWN) > 0;
  }

  ProgramSession program_;
  TargetWindow target_{kTargetRect};
};

TEST_F(ReliabilityTest, AThousandQuickF5PressesLeakNothingAndLeaveAWorkingToggle) {
  HANDLE process = program_.process().handle();
  PumpFor(1000ms);
  const DWORD idleThreads = ThreadCountOf(program_.process().id());
  const DWORD handlesBefore = HandleCountOf(process);
  const SIZE_T privateBefore = PrivateBytesOf(process);

  int slowAnswers = 0;
  for (int press = 0; press < 1000; ++press) {
    KeyDown(VK_F5);
    PumpFor(10ms);
    KeyUp(VK_F5);
    PumpFor(10ms);
    if (press % 50 == 0 && !Responds(program_.window(), 100ms)) ++slowAnswers;
  }
  EXPECT_EQ(slowAnswers, 0) << "the window must answer within 100 ms throughout";

  // Toggle threads end by themselves; the program gets back to its idle thread count.
  EXPECT_TRUE(WaitUntil([&] { return ThreadCountOf(program_.process().id()) <= idleThreads; }, 5s))
      << "threads: idle " << idleThreads << ", now " << ThreadCountOf(program_.process().id());
  const DWORD handlesAfter = HandleCountOf(process);
  const SIZE_T privateAfter = PrivateBytesOf(process);
  std::printf("after 1000 F5 presses: handles %lu -> %lu, private bytes %zu -> %zu, threads idle %lu\n",
              handlesBefore, handlesAfter, privateBefore, privateAfter, idleThreads);
  // Some systems (Wine among them) do not report another process's handles or memory: 0.
  if (handlesBefore > 0) {
    EXPECT_LE(handlesAfter, handlesBefore + 8);
  }
  if (privateBefore > 0) {
    EXPECT_LE(privateAfter, privateBefore + 512 * 1024);
  }

  // Whatever number of the quick presses were seen, the toggle is in a clean state: one
  // ordinary press flips it, and another flips it back.
  const bool runningAfterBurst = ClickingObserved(1200ms);
  PressKey(VK_F5);
  EXPECT_NE(ClickingObserved(1200ms), runningAfterBurst);
  PressKey(VK_F5);
  EXPECT_EQ(ClickingObserved(1200ms), runningAfterBurst);
  if (runningAfterBurst) PressKey(VK_F5);
  EXPECT_TRUE(Responds(program_.window(), 100ms));
}

// Random text of the kinds a user might paste or type: GBK and other Unicode text, full-width
// forms, digits, signs, blanks, control characters, and now and then something very long.
std::wstring RandomText(std::mt19937& random) {
  static const std::wstring kPieces[] = {
      L"0", L"1", L"5", L"9", L"-", L"+", L" ", L"\t", L"\r\n", L"\x01", L"\x1b", L"\x7f", L"a", L"Z", L".", L"ms",
      L"５", L"０", L"－", L"＋", L"　", L"～", L"吴", L"设置", L"事件", L"é", L"ß", L"Ж", L"😀", L"\xFEFF", L"%s%n",
      L"\"", L"'", L"\\", L"&"};
  std::uniform_int_distribution<int> lengthOf(0, 12);
  std::uniform_int_distribution<std::size_t> pieceOf(0, std::size(kPieces) - 1);
  std::wstring text;
  const int pieces = random() % 20 == 0 ? 4000 : lengthOf(random);
  for (int i = 0; i < pieces; ++i) text += kPieces[pieceOf(random)];
  return text;
}

TEST_F(ReliabilityTest, BadInputNeverCrashesAndAlwaysGetsTheSameConfirmation) {
  std::mt19937 random(20261211);
  for (int i = 0; i < 300; ++i) {
    const std::wstring text = RandomText(random);
    const bool paste = i % 3 != 0;
    const std::wstring typed = paste ? text : text.substr(0, 40);
    SCOPED_TRACE("string " + std::to_string(i));
    ASSERT_EQ(program_.SetInterval(typed, paste), L"事件设置成功");
    ASSERT_TRUE(program_.process().Running());
    ASSERT_TRUE(Responds(program_.window(), 1000ms));
  }
}

TEST_F(ReliabilityTest, TheIntervalIsTheLeadingNumberOfTheText) {
  const struct {
    const wchar_t* text;
    int expectedMs;  // 0: F5 starts nothing
  } cases[] = {
      {L"0", 0},
      {L"-100", 0},
      {L"abc", 0},
      {L"+", 0},
      {L"－５０", 0},
      {L"吴120", 0},
      {L"4294967296", 0},          // 2^32 wraps to 0
      {L"2147483648", 0},          // wraps to the most negative value
      {L"80", 80},
      {L"　 120", 120},            // ideographic and ASCII blanks first
      {L"+150abc", 150},
      {L"２５０", 250},             // full-width digits
      {L"２5０ms", 250},
      {L"\t300\r\n", 300},
      {L"００９０", 90},
      {L"4294967496", 200},        // 2^32 + 200
      {L"-4294967096", 200},       // -(2^32 - 200)
      {L"60.5", 60},
      {L"７0吴", 70},
      {L"＋１００", 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    ASSERT_EQ(program_.SetInterval(c.text, true), L"事件设置成功");
    target_.TakeCursorAndFocus();
    target_.Clear();
    const std::int64_t pressed = QpcNow();
    PressKey(VK_F5);
    if (c.expectedMs <= 0) {
      PumpFor(700ms);
      EXPECT_EQ(target_.Count(WM_LBUTTONDOWN), 0u) << "an interval of 0 or below starts nothing";
      continue;
    }
    PumpFor(std::chrono::milliseconds(c.expectedMs * 6 + 200));
    PressKey(VK_F5);
    const auto clicks = target_.TimesOf(WM_LBUTTONDOWN);
    ASSERT_GE(clicks.size(), 3u);
    std::vector<double> gaps;
    for (std::size_t i = 1; i < clicks.size(); ++i) gaps.push_back(QpcToMs(clicks[i] - clicks[i - 1]));
    std::sort(gaps.begin(), gaps.end());
    EXPECT_NEAR(gaps[gaps.size() / 2], c.expectedMs, 40.0);
    EXPECT_GT(QpcToMs(clicks.front() - pressed), c.expectedMs - 40.0);
    PumpFor(300ms);
  }
}

}  // namespace
