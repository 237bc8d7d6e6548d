#include "clicker/delay.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "toolkit/handles.h"
#include "toolkit/message_loop.h"

namespace {

// The wake mask of the wait: keys, mouse, posted, timer, paint, sent and hotkey messages.
constexpr DWORD kWakeMask = 0xFF;
constexpr std::int64_t kTicksPerMillisecond = 10'000;

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

std::int64_t NowAsFileTime() noexcept {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
}

// Without a timer: wait out the rest of the time in the message wait's own time-out, dispatching
// messages. A relative due time counts from the moment the delay began.
void PumpedWait(std::int64_t dueTime, ULONGLONG startTick) {
  ULONGLONG end = 0;
  if (dueTime < 0) {
    const std::int64_t ticks = dueTime == std::numeric_limits<std::int64_t>::min()
                                   ? std::numeric_limits<std::int64_t>::max()
                                   : -dueTime;
    end = startTick + static_cast<ULONGLONG>(ticks / kTicksPerMillisecond);
  } else {
    const std::int64_t ticksLeft = dueTime - NowAsFileTime();
    if (ticksLeft <= 0) return;
    end = ::GetTickCount64() + static_cast<ULONGLONG>(ticksLeft / kTicksPerMillisecond);
  }
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(end - now, INFINITE - 1));
    if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, kWakeMask) == WAIT_FAILED) {
      ::Sleep(std::min<DWORD>(slice, 10));  // never spin, even when the wait itself fails
    }
    toolkit::ProcessEvents();
  }
}

}  // namespace

std::int64_t DelayDueTime(std::int32_t amount, std::int32_t unit) noexcept {
  if (unit == kDelayMicroseconds) return SaturatingTruncate(static_cast<double>(amount) * -10.0);
  return SaturatingTruncate(static_cast<double>(amount) * MillisecondsPerAmount(unit) * -10'000.0);
}

void DelayPumping(std::int32_t amount, std::int32_t unit) {
  const ULONGLONG startTick = ::GetTickCount64();
  const std::int64_t dueTime = DelayDueTime(amount, unit);
  const toolkit::KernelHandle timer(::CreateWaitableTimerW(nullptr, FALSE, nullptr));
  LARGE_INTEGER due{};
  due.QuadPart = dueTime;
  if (timer && ::SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE)) {
    const HANDLE handles[] = {timer.get()};
    for (;;) {
      const DWORD woke = ::MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, kWakeMask);
      if (woke == WAIT_OBJECT_0) return;
      if (woke != WAIT_OBJECT_0 + 1) break;  // the wait failed: finish without the timer
      toolkit::ProcessEvents();
    }
  }
  PumpedWait(dueTime, startTick);
}
