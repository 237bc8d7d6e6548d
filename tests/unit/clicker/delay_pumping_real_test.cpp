// The pumping delay on real timers and a real window of the same thread.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "clicker/delay.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr UINT kProbeMessage = WM_APP + 1;
constexpr UINT kSentProbeMessage = WM_APP + 2;
constexpr UINT_PTR kProbeTimer = 1;
constexpr UINT kProbeTimerPeriodMs = 20;
// A waiting thread uses next to no processor time; a spinning one uses all of the wait.
constexpr double kMostCpuMsForAWait = 100.0;
// Slack for a loaded two-core machine: how much later than asked a wait may end.
constexpr double kLateSlackMs = 400.0;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double ThreadCpuMs() {
  FILETIME created{}, exited{}, kernel{}, user{};
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& t) {
    return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 10'000.0;
}

// A window of the test thread that counts what it handles and when.
class ProbeWindow {
 public:
  ProbeWindow() {
    static const ATOM registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &ProbeWindow::Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"ClickerDelayProbe";
      return ::RegisterClassW(&wc);
    }();
    (void)registered;
    window_ = ::CreateWindowExW(0, L"ClickerDelayProbe", L"", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), this);
    ::UpdateWindow(window_);
  }
  ~ProbeWindow() { ::DestroyWindow(window_); }
  ProbeWindow(const ProbeWindow&) = delete;
  ProbeWindow& operator=(const ProbeWindow&) = delete;

  [[nodiscard]] HWND hwnd() const { return window_; }
  void StartTimer() { ::SetTimer(window_, kProbeTimer, kProbeTimerPeriodMs, nullptr); }
  void StopTimer() { ::KillTimer(window_, kProbeTimer); }

  int timerTicks = 0;
  int paints = 0;
  std::vector<Clock::time_point> probes;  // posted or sent probe messages, when handled

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<ProbeWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
      case WM_TIMER: ++self->timerTicks; return 0;
      case WM_PAINT: {
        PAINTSTRUCT paint{};
        ::BeginPaint(window, &paint);
        ::EndPaint(window, &paint);
        ++self->paints;
        return 0;
      }
      case kProbeMessage:
      case kSentProbeMessage: self->probes.push_back(Clock::now()); return 0;
      case WM_NCDESTROY: ::SetWindowLongPtrW(window, GWLP_USERDATA, 0); break;
      default: break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
};

// Leaves nothing of an earlier test in the queue.
void DrainQueue() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

// Runs a delay on a thread of its own; the time it took, or nothing when it did not end in time.
std::optional<double> TimedOnWorker(std::int32_t amount, std::int32_t unit, std::chrono::milliseconds limit) {
  auto done = std::make_shared<std::promise<double>>();
  std::future<double> result = done->get_future();
  std::thread([done, amount, unit] {
    const auto start = Clock::now();
    DelayPumping(amount, unit);
    done->set_value(MsSince(start));
  }).detach();  // a delay that never ends must not hold up the test program
  if (result.wait_for(limit) != std::future_status::ready) return std::nullopt;
  return result.get();
}

TEST(DelayPumpingReal, HalfASecondKeepsTheThreadsWindowHandlingPostedSentTimerAndPaintMessages) {
  ProbeWindow probe;
  DrainQueue();
  probe.StartTimer();
  ::InvalidateRect(probe.hwnd(), nullptr, TRUE);
  ::PostMessageW(probe.hwnd(), kProbeMessage, 0, 0);

  // Another thread posts and sends while the delay runs; a sent message only returns once handled.
  std::atomic<int> sentAnswered{0};
  std::thread other([&] {
    for (int i = 0; i < 4; ++i) {
      std::this_thread::sleep_for(80ms);
      ::PostMessageW(probe.hwnd(), kProbeMessage, 0, 0);
      DWORD_PTR ignored = 0;
      if (::SendMessageTimeoutW(probe.hwnd(), kSentProbeMessage, 0, 0, SMTO_BLOCK, 1000, &ignored)) ++sentAnswered;
    }
  });

  const double cpuBefore = ThreadCpuMs();
  const auto start = Clock::now();
  DelayPumping(500);
  const auto returned = Clock::now();
  const double elapsed = MsSince(start);
  const double cpu = ThreadCpuMs() - cpuBefore;
  other.join();
  probe.StopTimer();

  EXPECT_GE(elapsed, 499.0);
  EXPECT_LE(elapsed, 500.0 + kLateSlackMs);
  EXPECT_GE(probe.timerTicks, 10) << "a 20 ms window timer ticks about 25 times in half a second";
  EXPECT_GE(probe.paints, 1) << "the window repaints during the wait";
  EXPECT_EQ(sentAnswered.load(), 4) << "messages sent from another thread are answered during the wait";
  ASSERT_EQ(probe.probes.size(), 9u) << "one posted before, four posted and four sent during the wait";
  for (const auto handled : probe.probes) EXPECT_LT(handled, returned) << "handled inside the delay";
  EXPECT_LT(cpu, kMostCpuMsForAWait) << "the delay rests in the system's wait";
}

TEST(DelayPumpingReal, ShortWaitsLastAboutTheirTime) {
  struct Case {
    const char* label;
    std::int32_t amount;
    std::int32_t unit;
    double atLeastMs;
  };
  const Case cases[] = {{"3 microseconds", 3, kDelayMicroseconds, 0.0},
                        {"2 units of 7 ms", 2, 7, 13.5},
                        {"150 ms", 150, kDelayMilliseconds, 149.0}};
  for (const Case& c : cases) {
    const auto start = Clock::now();
    DelayPumping(c.amount, c.unit);
    const double elapsed = MsSince(start);
    EXPECT_GE(elapsed, c.atLeastMs) << c.label;
    EXPECT_LE(elapsed, c.atLeastMs + kLateSlackMs) << c.label;
  }
}

// A due time of zero or above is already past: the delay ends at once, whatever its size.
TEST(DelayPumpingReal, AmountsAndUnitsOfOppositeSignsEndAtOnce) {
  struct Case {
    const char* label;
    std::int32_t amount;
    std::int32_t unit;
  };
  const Case cases[] = {
      {"zero", 0, kDelayMilliseconds},
      {"negative ms", -500, kDelayMilliseconds},
      {"negative days", -1, kDelayDays},
      {"positive amount, negative unit", 500, -3},
      // Read literally as an absolute time, these due times lie centuries in the future.
      {"a million negative days", -1'000'000, kDelayDays},
      {"smallest amount of hours", std::numeric_limits<std::int32_t>::min(), kDelayHours},
      {"saturated", std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()},
  };
  for (const Case& c : cases) {
    const std::optional<double> elapsed = TimedOnWorker(c.amount, c.unit, 3s);
    ASSERT_TRUE(elapsed.has_value()) << c.label << ": the delay did not end";
    EXPECT_LT(*elapsed, 100.0) << c.label;
  }
}

TEST(DelayPumpingReal, APendingQuitMessageNeitherEndsTheWaitEarlyNorMakesItSpin) {
  DrainQueue();
  ::PostQuitMessage(9);
  const double cpuBefore = ThreadCpuMs();
  const auto start = Clock::now();
  DelayPumping(300);
  const double elapsed = MsSince(start);
  EXPECT_GE(elapsed, 299.0);
  EXPECT_LE(elapsed, 300.0 + kLateSlackMs);
  EXPECT_LT(ThreadCpuMs() - cpuBefore, kMostCpuMsForAWait);
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message stays queued";
  EXPECT_EQ(message.wParam, 9u);
}

// Timer calls that fail in the ways a system can make them fail, and one that records what the
// delay asks of a real timer.
struct Recorded {
  int created = 0;
  HANDLE handle = nullptr;
  std::vector<std::int64_t> armedWith;
  int waits = 0;
};
Recorded g_recorded;

HANDLE RecordCreate() {
  ++g_recorded.created;
  g_recorded.handle = SystemDelayTimer().create();
  return g_recorded.handle;
}
bool RecordArm(HANDLE timer, std::int64_t dueTime) {
  g_recorded.armedWith.push_back(dueTime);
  return SystemDelayTimer().arm(timer, dueTime);
}
DWORD RecordWait(HANDLE timer) {
  ++g_recorded.waits;
  return SystemDelayTimer().wait(timer);
}
HANDLE FailCreate() {
  ++g_recorded.created;
  return nullptr;
}
bool FailArm(HANDLE, std::int64_t dueTime) {
  g_recorded.armedWith.push_back(dueTime);
  return false;
}
DWORD FailWait(HANDLE) {
  ++g_recorded.waits;
  ::SetLastError(ERROR_INVALID_HANDLE);
  return WAIT_FAILED;
}

bool HandleIsOpen(HANDLE handle) {
  DWORD flags = 0;
  return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(DelayPumpingReal, UsesOneTimerArmedWithTheDueTimeAndClosesItBeforeReturning) {
  g_recorded = {};
  DelayPumping(50, kDelayMilliseconds, DelayTimer{&RecordCreate, &RecordArm, &RecordWait});
  EXPECT_EQ(g_recorded.created, 1);
  ASSERT_NE(g_recorded.handle, nullptr);
  EXPECT_EQ(g_recorded.armedWith, std::vector<std::int64_t>{-500'000});
  EXPECT_GE(g_recorded.waits, 1);
  EXPECT_FALSE(HandleIsOpen(g_recorded.handle)) << "the timer is closed before the delay returns";
}

struct FailureCase {
  const char* label;
  DelayTimer calls;
};

class DelayFallbackTest : public testing::TestWithParam<FailureCase> {};

TEST_P(DelayFallbackTest, WaitsTheSameTimePumpingWithoutHangingOrSpinning) {
  ProbeWindow probe;
  DrainQueue();
  probe.StartTimer();
  g_recorded = {};
  const double cpuBefore = ThreadCpuMs();
  const auto start = Clock::now();
  DelayPumping(300, kDelayMilliseconds, GetParam().calls);
  const double elapsed = MsSince(start);
  const double cpu = ThreadCpuMs() - cpuBefore;
  probe.StopTimer();

  EXPECT_GE(elapsed, 299.0);
  EXPECT_LE(elapsed, 300.0 + kLateSlackMs);
  EXPECT_GE(probe.timerTicks, 5) << "messages are still dispatched while it waits";
  EXPECT_LT(cpu, kMostCpuMsForAWait);
  EXPECT_EQ(g_recorded.created, 1);
  if (g_recorded.handle) {
    EXPECT_FALSE(HandleIsOpen(g_recorded.handle)) << "a timer that was made is closed";
  }
}

TEST_P(DelayFallbackTest, APastDueTimeStillEndsAtOnce) {
  g_recorded = {};
  const auto start = Clock::now();
  DelayPumping(-300, kDelayMilliseconds, GetParam().calls);
  EXPECT_LT(MsSince(start), 100.0);
}

INSTANTIATE_TEST_SUITE_P(Failures, DelayFallbackTest,
                         testing::Values(FailureCase{"CannotCreate", {&FailCreate, &RecordArm, &RecordWait}},
                                         FailureCase{"CannotArm", {&RecordCreate, &FailArm, &RecordWait}},
                                         FailureCase{"WaitFails", {&RecordCreate, &RecordArm, &FailWait}}),
                         [](const testing::TestParamInfo<FailureCase>& info) { return info.param.label; });

}  // namespace
