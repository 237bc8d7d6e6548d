#pragma once
// A wait that keeps the calling thread's windows alive: messages are dispatched while it waits.

#include <windows.h>

#include <cstdint>

// Units of DelayPumping's amount. Any other value u means u milliseconds per amount.
inline constexpr std::int32_t kDelayMilliseconds = 0;
inline constexpr std::int32_t kDelayMicroseconds = 1;
inline constexpr std::int32_t kDelaySeconds = 2;
inline constexpr std::int32_t kDelayMinutes = 3;
inline constexpr std::int32_t kDelayHours = 4;
inline constexpr std::int32_t kDelayDays = 5;

// The waitable-timer due time for an amount in a unit, in 100 ns ticks: negative is relative to
// now, zero or positive an absolute time (already past for any amount this gives). Computed in
// floating point and truncated toward zero; beyond the 64-bit range it saturates.
std::int64_t DelayDueTime(std::int32_t amount, std::int32_t unit = kDelayMilliseconds) noexcept;

// The waitable-timer calls DelayPumping makes. Tests put failing ones in; the program uses
// SystemDelayTimer().
struct DelayTimer {
  // An unnamed auto-reset timer, or null.
  HANDLE (*create)();
  // Arms the timer once (no period, no completion routine, no wake from suspension).
  bool (*arm)(HANDLE timer, std::int64_t dueTime);
  // Waits for the timer or for new messages of the thread; a MsgWaitForMultipleObjects result.
  DWORD (*wait)(HANDLE timer);
};
const DelayTimer& SystemDelayTimer() noexcept;

// Waits on a one-shot waitable timer and dispatches the thread's messages meanwhile, without
// using processor time between them. Never hangs when the timer cannot be had: then it falls
// back to a plain pumped wait for the same time.
void DelayPumping(std::int32_t amount, std::int32_t unit = kDelayMilliseconds,
                  const DelayTimer& timer = SystemDelayTimer());
