#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "hotkeys/hotkey_polling.h"
#include "hotkeys/hotkey_registration.h"
#include "scripted_keyboard.h"

namespace hotkey_test {
namespace {

constexpr std::int32_t kF5 = VK_F5;
constexpr std::int32_t kFirst = kFirstHotkeyId;
constexpr std::int32_t kSecond = kFirstHotkeyId + 1;

TEST_F(ScriptedHotkeys, RegistrationAppendsWithTheNextIdAndStoresTheArgumentsUnchanged) {
  EXPECT_EQ(RegisterHotkey(&CallbackA, kF5), kFirst);
  EXPECT_EQ(RegisterHotkey(&CallbackB, -'Q', -3, -7), kSecond);

  ASSERT_EQ(g_hotkeyTable->size(), 2u);
  const HotkeyEntry& second = *(*g_hotkeyTable)[1];
  EXPECT_EQ(second.id, kSecond);
  EXPECT_EQ(second.callback, &CallbackB);
  EXPECT_EQ(second.keyCode, -'Q');
  EXPECT_EQ(second.modifiers, -3);
  EXPECT_EQ(second.secondKey, -7);
  EXPECT_EQ(second.latched, 0);
}

TEST_F(ScriptedHotkeys, OnlyTheFirstEntryStartsThePollTimer) {
  RegisterHotkey(&CallbackA, kF5);
  ASSERT_EQ(timerStarts_.size(), 1u);
  EXPECT_EQ(timerStarts_[0].timerId, 6665u);
  EXPECT_EQ(timerStarts_[0].periodMs, 10u);
  EXPECT_EQ(timerStarts_[0].procedure, &HotkeyTimerProc);

  RegisterHotkey(&CallbackA, VK_F6);
  RegisterHotkey(&CallbackB, kF5);  // re-binding
  EXPECT_EQ(timerStarts_.size(), 1u);
}

TEST_F(ScriptedHotkeys, TheWholeTripleWithItsSignsDecidesWhetherARegistrationIsNew) {
  const struct {
    const char* what;
    std::int32_t keyCode, modifiers, secondKey;
    bool sameEntry;
  } kSecondRegistrations[] = {
      {"the same key, nothing else given", kF5, 0, 0, true},
      {"the negative code of the key", -kF5, 0, 0, false},
      {"with Ctrl", kF5, kModifierCtrl, 0, false},
      {"with a second key", kF5, 0, 'A', false},
      {"another key", VK_F6, 0, 0, false},
  };
  for (const auto& later : kSecondRegistrations) {
    FreeHotkeyTable();
    CreateHotkeyTable();
    ASSERT_EQ(RegisterHotkey(&CallbackA, kF5), kFirst);
    EXPECT_EQ(RegisterHotkey(&CallbackB, later.keyCode, later.modifiers, later.secondKey),
              later.sameEntry ? kFirst : kSecond)
        << later.what;
    EXPECT_EQ(g_hotkeyTable->size(), later.sameEntry ? 1u : 2u) << later.what;
    EXPECT_EQ((*g_hotkeyTable)[0]->callback, later.sameEntry ? &CallbackB : &CallbackA) << later.what;
  }
}

TEST_F(ScriptedHotkeys, ReBindingFindsTheFirstMatchAmongSeveral) {
  RegisterHotkey(&CallbackA, kF5);
  RegisterHotkey(&CallbackA, kF5, kModifierShift);
  RegisterHotkey(&CallbackA, kF5, kModifierShift, 'A');
  EXPECT_EQ(RegisterHotkey(&CallbackB, kF5, kModifierShift), kSecond);
  EXPECT_EQ((*g_hotkeyTable)[1]->callback, &CallbackB);
  EXPECT_EQ((*g_hotkeyTable)[0]->callback, &CallbackA);
  EXPECT_EQ((*g_hotkeyTable)[2]->callback, &CallbackA);
  EXPECT_EQ(g_hotkeyTable->size(), 3u);
}

TEST_F(ScriptedHotkeys, ReBindingWhileLatchedKeepsTheLatchAndTheNewCallbackFiresAtTheNextPress) {
  RegisterHotkey(&CallbackA, kF5);
  ASSERT_EQ(Pass("+F5"), std::vector<std::int32_t>{kFirst});
  ASSERT_EQ(starter_.starts()[0].callback, &CallbackA);

  EXPECT_EQ(RegisterHotkey(&CallbackB, kF5), kFirst);
  EXPECT_EQ((*g_hotkeyTable)[0]->latched, 1);
  EXPECT_TRUE(Pass("").empty()) << "the held press does not fire again for the new callback";

  Pass("-F5");
  ASSERT_EQ(Pass("+F5"), std::vector<std::int32_t>{kFirst});
  EXPECT_EQ(starter_.starts()[0].callback, &CallbackB);
}

TEST_F(ScriptedHotkeys, RegisteringBeforeTheTableExistsCreatesIt) {
  FreeHotkeyTable();
  EXPECT_EQ(RegisterHotkey(&CallbackA, kF5), kFirst);
  ASSERT_NE(g_hotkeyTable, nullptr);
  EXPECT_EQ(g_hotkeyTable->size(), 1u);
}

// With the real timer: the thread's own message loop drives the passes through HotkeyTimerProc.
TEST_F(ScriptedHotkeys, TheRealPollTimerPassesWheneverTheThreadPumpsItsMessages) {
  UINT_PTR systemTimer = 0;
  SetPollTimerStarter([&](UINT_PTR timerId, UINT periodMs, TIMERPROC procedure) {
    systemTimer = ::SetTimer(nullptr, timerId, periodMs, procedure);
  });
  RegisterHotkey(&CallbackA, kF5);
  ASSERT_NE(systemTimer, 0u);
  keyboard_.Apply("+F5");

  constexpr std::size_t kPasses = 20;
  const auto started = std::chrono::steady_clock::now();
  const auto deadline = started + std::chrono::seconds(10);
  while (keyboard_.queries().size() < kPasses && std::chrono::steady_clock::now() < deadline) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  }
  const auto elapsed = std::chrono::steady_clock::now() - started;
  ::KillTimer(nullptr, systemTimer);

  ASSERT_GE(keyboard_.queries().size(), kPasses);
  // Twenty ticks of 10 ms; a loaded machine may stretch them, but not into whole seconds.
  EXPECT_LT(elapsed, std::chrono::seconds(3));
  EXPECT_EQ(starter_.StartedIds(), std::vector<std::int32_t>{kFirst}) << "the held key fired once";
}

}  // namespace
}  // namespace hotkey_test
