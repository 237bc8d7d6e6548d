#include "clicker/delay.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "toolkit/handles.h"
#include "toolkit/message_loop.h"

namespace {

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;  // 100 ns, as timers count

// The wake mask of the wait: keys, mouse, posted, timer, paint, sent and hotkey messages.
constexpr DWORD kWakeMask = 0xFF;
constexpr std::int64_t kTicksPerMillisecond = 10'000;
constexpr DWORD kLongestWaitSlice = INFINITE - 1;

double MillisecondsPerAmount(std::int32_t unit) noexcept {
  switch (unit) {
    case kDelayMilliseconds: return 1.0;
    case kDelaySeconds: return 1'000.0;
    case kDelayMinutes: return 60'000.0;
    case kDelayHours: return 3'600'000.0;
    case kDelayDays: return 86'400'000.0;
    default: return static_cast<double>(unit);
  }
}

std::int64_t SaturatingTruncate(double ticks) noexcept {
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  if (ticks >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (ticks <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(ticks);
}

// A due time of zero or above comes only from an amount and a unit of opposite signs: a wait
// that was never meant to last. Taken literally it is a calendar date, and a large negative
// amount of days or hours names one centuries ahead; the delay treats every such due time as
// already past instead of waiting for that date.
std::int64_t RelativeOrPast(std::int64_t dueTime) noexcept { return std::min<std::int64_t>(dueTime, 0); }

HANDLE CreateSystemTimer() { return ::CreateWaitableTimerW(nullptr, FALSE, nullptr); }

bool ArmSystemTimer(HANDLE timer, std::int64_t dueTime) {
  LARGE_INTEGER due{};
  due.QuadPart = dueTime;
  return ::SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) != FALSE;
}

DWORD WaitForSystemTimer(HANDLE timer) {
  return ::MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, kWakeMask);
}

// Without a usable timer: the message wait's own time-out measures the rest of the time, and
// messages are dispatched as they come. The time counts from the moment the delay began.
void PumpedWait(std::int64_t relativeDueTime, std::chrono::steady_clock::time_point start) {
  const std::int64_t total = relativeDueTime == std::numeric_limits<std::int64_t>::min()
                                 ? std::numeric_limits<std::int64_t>::max()
                                 : -relativeDueTime;
  for (;;) {
    const std::int64_t left =
        total - std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now() - start).count();
    if (left <= 0) return;
    // Rounded up: a time-out that ends a little early only costs one more pass, never a short delay.
    const auto slice = static_cast<DWORD>(
        std::min<std::int64_t>((left + kTicksPerMillisecond - 1) / kTicksPerMillisecond, kLongestWaitSlice));
    if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, kWakeMask) == WAIT_FAILED) {
      ::Sleep(std::min<DWORD>(slice, 10));  // never spin, even when the wait itself fails
    }
    toolkit::ProcessEvents();
  }
}

// True when the timer signalled; false when it could not be had or the wait failed.
bool WaitOnTimer(std::int64_t relativeDueTime, const DelayTimer& calls) {
  const toolkit::KernelHandle timer(calls.create());
  if (!timer || !calls.arm(timer.get(), relativeDueTime)) return false;
  for (;;) {
    const DWORD woke = calls.wait(timer.get());
    if (woke == WAIT_OBJECT_0) return true;
    if (woke != WAIT_OBJECT_0 + 1) return false;
    toolkit::ProcessEvents();
  }
}

}  // namespace

std::int64_t DelayDueTime(std::int32_t amount, std::int32_t unit) noexcept {
  if (unit == kDelayMicroseconds) return SaturatingTruncate(static_cast<double>(amount) * -10.0);
  return SaturatingTruncate(static_cast<double>(amount) * MillisecondsPerAmount(unit) * -10'000.0);
}

const DelayTimer& SystemDelayTimer() noexcept {
  static constexpr DelayTimer kSystem{&CreateSystemTimer, &ArmSystemTimer, &WaitForSystemTimer};
  return kSystem;
}

void DelayPumping(std::int32_t amount, std::int32_t unit, const DelayTimer& timer) {
  const auto start = std::chrono::steady_clock::now();
  const std::int64_t dueTime = RelativeOrPast(DelayDueTime(amount, unit));
  if (!WaitOnTimer(dueTime, timer)) PumpedWait(dueTime, start);
}
