#include "clicker/clicking.h"

#include <mutex>
#include <string>

#include "clicker/click_mouse.h"
#include "toolkit/message_box.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

std::atomic<std::int32_t> g_clickInterval{0};

namespace {
// Each F5 press runs its toggle on a thread of its own; two presses close together must act as
// two toggles in a row, so the read, the comparison and the write of the period go as one.
std::mutex g_toggleMutex;
}  // namespace

void ToggleClicking() {
  std::lock_guard lock(g_toggleMutex);
  const std::int32_t period = toolkit::ReadIntProperty(kClickTimerName, toolkit::property::kTimerPeriod);
  const std::int32_t interval = g_clickInterval.load();
  toolkit::WriteIntProperty(kClickTimerName, toolkit::property::kTimerPeriod, period == interval ? 0 : interval);
}

DWORD WINAPI OnToggleHotkey(LPVOID) {
  ToggleClicking();
  return 0;
}

void OnSetIntervalClicked() {
  const std::string text = toolkit::ReadTextProperty(kIntervalEditName, toolkit::property::kEditText);
  g_clickInterval = toolkit::TextToInt(text);
  toolkit::ShowMessageBox(kIntervalSetMessage);
}

void OnClickTimer() { ClickMouse(); }
