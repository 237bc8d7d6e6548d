#include "hotkeys/hotkey_registration.h"

#include <utility>

#include "hotkeys/hotkey_polling.h"

namespace {

void StartWindowlessTimer(UINT_PTR timerId, UINT periodMs, TIMERPROC procedure) {
  // Without a window the timer belongs to the calling thread and is never killed: polling lasts as
  // long as the process. Should it fail to start, no hotkey fires and nothing is told.
  ::SetTimer(nullptr, timerId, periodMs, procedure);
}

PollTimerStarter g_pollTimerStarter = &StartWindowlessTimer;

}  // namespace

void SetPollTimerStarter(PollTimerStarter starter) {
  g_pollTimerStarter = starter ? std::move(starter) : PollTimerStarter(&StartWindowlessTimer);
}

std::int32_t RegisterHotkey(HotkeyCallback callback, std::int32_t keyCode, std::int32_t modifiers,
                            std::int32_t secondKey) {
  if (!g_hotkeyTable) CreateHotkeyTable();
  HotkeyTable& table = *g_hotkeyTable;
  for (const auto& entry : table) {
    if (entry->keyCode == keyCode && entry->modifiers == modifiers && entry->secondKey == secondKey) {
      // The latch stays as it is: a press already in progress does not fire the new callback.
      entry->callback = callback;
      return entry->id;
    }
  }
  const std::int32_t id = kFirstHotkeyId + static_cast<std::int32_t>(table.size());
  table.push_back(std::make_unique<HotkeyEntry>(HotkeyEntry{id, callback, keyCode, modifiers, secondKey, 0}));
  // One timer polls the whole table, so only the entry that makes the table non-empty starts it.
  if (id == kFirstHotkeyId) g_pollTimerStarter(kPollTimerId, kPollPeriodMs, &HotkeyTimerProc);
  return id;
}
