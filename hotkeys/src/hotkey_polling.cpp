#include "hotkeys/hotkey_polling.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace {

std::int32_t QueryAsyncKeyState(int virtualKey) {
  return static_cast<std::int32_t>(::GetAsyncKeyState(virtualKey));
}

bool StartDetachedThread(HotkeyCallback callback, std::int32_t id) {
  // The id travels sign-extended to pointer size, as a thread parameter does.
  const auto parameter = reinterpret_cast<LPVOID>(static_cast<std::intptr_t>(id));
  DWORD threadId = 0;  // some systems refuse a null place for it; the value itself is never used
  const HANDLE thread = ::CreateThread(nullptr, 0, callback, parameter, 0, &threadId);
  if (thread == nullptr) return false;
  ::CloseHandle(thread);  // nobody waits for a hotkey's thread or learns of its end
  return true;
}

KeyStateQuery g_keyStateQuery = &QueryAsyncKeyState;
HotkeyThreadStarter g_threadStarter = &StartDetachedThread;

struct Modifier {
  int virtualKey;
  std::int32_t weight;
};

// Always all four, in this order. The right Windows key is not one of them: holding it does not
// stop a hotkey that asks for no modifier.
constexpr std::array<Modifier, 4> kModifiers{{
    {VK_MENU, kModifierAlt},
    {VK_CONTROL, kModifierCtrl},
    {VK_SHIFT, kModifierShift},
    {VK_LWIN, kModifierLeftWindows},
}};

std::int32_t HeldModifiers() {
  std::int32_t held = 0;
  for (const Modifier& modifier : kModifiers) {
    if (g_keyStateQuery(modifier.virtualKey) < 0) held += modifier.weight;
  }
  return held;
}

// The magnitude of a key code names the key; its sign only picks the trigger state. Negating in
// unsigned arithmetic keeps the most negative code defined: it names no key and reads as up.
int MainKeyOf(std::int32_t keyCode) {
  const auto code = static_cast<std::uint32_t>(keyCode);
  return static_cast<int>(keyCode < 0 ? 0u - code : code);
}

}  // namespace

void SetKeyStateQuery(KeyStateQuery query) {
  g_keyStateQuery = query ? std::move(query) : KeyStateQuery(&QueryAsyncKeyState);
}

void SetHotkeyThreadStarter(HotkeyThreadStarter starter) {
  g_threadStarter = starter ? std::move(starter) : HotkeyThreadStarter(&StartDetachedThread);
}

bool IsTriggerState(std::int32_t keyCode, std::int32_t keyState) noexcept {
  if (keyState == 0) return false;
  if (keyCode > 0) return keyState < 0;
  if (keyCode < 0) return keyState > 0;
  return true;
}

void PollHotkeys() {
  if (!g_hotkeyTable) return;  // released at shutdown: nothing left to watch
  HotkeyTable& table = *g_hotkeyTable;
  const std::size_t count = table.size();
  for (std::size_t position = 0; position < count; ++position) {
    HotkeyEntry& entry = *table[position];
    if (!IsTriggerState(entry.keyCode, g_keyStateQuery(MainKeyOf(entry.keyCode)))) {
      entry.latched = 0;
      continue;
    }
    if (entry.latched != 0) continue;  // this press has been dealt with already
    // Latched before anything is tested or started, so one press is used up whatever follows and
    // can never start a second thread.
    entry.latched = 1;
    // Modifiers and the second key count only at the moment the key enters its trigger state:
    // pressing them later does not turn a used-up press into a firing one.
    if (HeldModifiers() != entry.modifiers) continue;
    if (entry.secondKey != 0 && g_keyStateQuery(entry.secondKey) >= 0) continue;
    // A thread started on no routine would take the whole process down with it.
    if (entry.callback == nullptr) continue;
    // A thread that cannot start loses this press; the next one tries again.
    g_threadStarter(entry.callback, entry.id);
  }
}

void CALLBACK HotkeyTimerProc(HWND, UINT, UINT_PTR, DWORD) { PollHotkeys(); }
