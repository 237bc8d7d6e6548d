// The timer control: an invisible window whose system timer raises the Periodic event.
// The period may be written from any thread; the system timer is set and killed on the
// control's own window, so its WM_TIMER messages always arrive on the window thread.

#include <atomic>
#include <mutex>

#include "control_kinds.h"
#include "window_class.h"

namespace toolkit::detail {

namespace {
constexpr UINT_PTR kSystemTimerId = 1;
}

TimerControl::TimerControl(const ControlRow& row, HWND parent) : Control(row.name) {
  ::CreateWindowExW(0, kClassName, L"", WS_CHILD, row.place.left, row.place.top, row.place.width, row.place.height,
                    parent, nullptr, ::GetModuleHandleW(nullptr), this);
  WriteInt(property::kTimerPeriod, std::get<TimerSpec>(row.spec).period);
}

void TimerControl::RegisterClass() {
  RegisterWindowClass<TimerControl>(kClassName, 0, nullptr, nullptr);
}

void TimerControl::Attach(HWND window) { hwnd_ = window; }

LRESULT TimerControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kSystemTimerId) {
    Raise(periodic_);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

std::int32_t TimerControl::ReadInt(int number) {
  if (number == property::kTimerPeriod) return period_.load();
  return Control::ReadInt(number);
}

void TimerControl::WriteInt(int number, std::int32_t value) {
  if (number != property::kTimerPeriod) return Control::WriteInt(number, value);
  if (value < 0) value = 0;
  std::lock_guard lock(periodMutex_);
  if (value == period_.load()) return;  // the running countdown is not restarted
  ::KillTimer(hwnd_, kSystemTimerId);
  period_.store(value);
  if (value > 0) ::SetTimer(hwnd_, kSystemTimerId, static_cast<UINT>(value), nullptr);
}

void TimerControl::Bind(Event event, EventHandler handler) {
  if (event != Event::Periodic) NoSuchEvent(event);
  periodic_ = handler;
}

}  // namespace toolkit::detail
