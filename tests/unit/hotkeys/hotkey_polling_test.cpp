#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "hotkeys/hotkey_polling.h"
#include "hotkeys/hotkey_registration.h"
#include "scripted_keyboard.h"

namespace hotkey_test {
namespace {

constexpr std::int32_t kF5 = VK_F5;
constexpr std::int32_t kF6 = VK_F6;
constexpr std::int32_t kFirst = kFirstHotkeyId;
constexpr std::int32_t kSecond = kFirstHotkeyId + 1;

struct Hotkey {
  std::int32_t keyCode;
  std::int32_t modifiers;
  std::int32_t secondKey;
};

struct Step {
  const char* keyEvents;              // what happens to the keys before the pass
  std::vector<std::int32_t> fired;    // the ids the pass fires, in order
};

struct PollCase {
  const char* name;
  std::vector<Hotkey> hotkeys;
  std::vector<Step> steps;
};

const std::vector<Hotkey> kPlainF5{{kF5, 0, 0}};

const PollCase kPollCases[] = {
    {"HoldFiresOnceAndAPressAfterTheReleaseFiresAgain", kPlainF5,
     {{"+F5", {kFirst}}, {"", {}}, {"", {}}, {"-F5", {}}, {"+F5", {kFirst}}, {"", {}}}},
    {"CtrlHeldAtThePressUsesThePressUp", kPlainF5,
     {{"+Ctrl", {}}, {"+F5", {}}, {"-Ctrl", {}}, {"", {}}, {"-F5", {}}, {"+F5", {kFirst}}}},
    {"ModifiersPressedAfterTheKeyChangeNothing", kPlainF5,
     {{"+F5", {kFirst}}, {"+Ctrl", {}}, {"+Alt", {}}, {"+Shift", {}}, {"+LWin", {}},
      {"-Ctrl -Alt -Shift -LWin", {}}, {"-F5", {}}, {"+F5", {kFirst}}}},
    {"APressAndReleaseBetweenTwoPassesIsMissed", kPlainF5,
     {{"+F5 -F5", {}}, {"", {}}, {"+F5", {kFirst}}}},
    // Found up but pressed since the last query: not the trigger state of a positive code, so it
    // ends the press that is latched and the next one fires.
    {"AQuickReleaseAndPressBetweenPassesEndsTheLatch", kPlainF5,
     {{"+F5", {kFirst}}, {"-F5 +F5 -F5", {}}, {"+F5", {kFirst}}}},
    {"NegativeKeyCodeFiresOnPressedSinceTheLastQueryNeverWhileHeld", {{-kF5, 0, 0}},
     {{"+F5", {}}, {"", {}}, {"-F5", {}}, {"+F5 -F5", {kFirst}}, {"", {}}, {"+F5 -F5", {kFirst}}}},
    {"PositiveAndNegativeCodesOfOneKeyAreSeparateHotkeys", {{-kF5, 0, 0}, {kF5, 0, 0}},
     {{"+F5 -F5", {kFirst}}, {"+F5", {kSecond}}, {"-F5", {}}}},
    {"SecondKeyMustAlreadyBeDownWhenTheKeyIsPressed", {{kF5, 0, 'A'}},
     {{"+F5", {}}, {"+A", {}}, {"-F5", {}}, {"+F5", {kFirst}}, {"-F5 -A", {}}, {"+F5", {}}}},
    {"ModifiersMustBeExactlyTheRegisteredSet", {{kF5, kModifierCtrl, 0}},
     {{"+F5", {}}, {"-F5 +Ctrl", {}}, {"+F5", {kFirst}}, {"-F5 +Shift", {}}, {"+F5", {}},
      {"-F5 -Shift +Alt +Shift +LWin", {}}, {"+F5", {}}}},
    {"AllFourModifiersTogether",
     {{kF5, kModifierAlt + kModifierCtrl + kModifierShift + kModifierLeftWindows, 0}},
     {{"+Alt +Ctrl +Shift +LWin +F5", {kFirst}}, {"-F5 +RWin", {}}, {"+F5", {kFirst}}}},
    {"TwoEntriesEnteringTogetherFireInTableOrder", {{kF5, 0, 0}, {kF6, 0, 0}},
     {{"+F6 +F5", {kFirst, kSecond}}, {"-F5", {}}, {"+F5", {kFirst}}}},
};

// Failures name the script rather than dumping its bytes.
void PrintTo(const PollCase& script, std::ostream* out) { *out << script.name; }

class PollScript : public ScriptedHotkeys, public ::testing::WithParamInterface<PollCase> {};

TEST_P(PollScript, FiresExactlyAtTheExpectedPasses) {
  const PollCase& script = GetParam();
  for (const Hotkey& hotkey : script.hotkeys) {
    RegisterHotkey(&CallbackA, hotkey.keyCode, hotkey.modifiers, hotkey.secondKey);
  }
  for (std::size_t pass = 0; pass < script.steps.size(); ++pass) {
    const Step& step = script.steps[pass];
    EXPECT_EQ(Pass(step.keyEvents), step.fired) << "pass " << pass + 1 << " after \"" << step.keyEvents << '"';
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, PollScript, ::testing::ValuesIn(kPollCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScriptedHotkeys, OnlyAltCtrlShiftAndTheLeftWindowsKeyBlockAHotkeyWithoutModifiers) {
  RegisterHotkey(&CallbackA, kF5);
  const struct {
    const char* key;
    bool fires;
  } kHeldKeys[] = {{"Alt", false}, {"Ctrl", false}, {"Shift", false}, {"LWin", false}, {"RWin", true}, {"A", true}};
  for (const auto& held : kHeldKeys) {
    const std::string key = held.key;
    EXPECT_EQ(Pass("+" + key + " +F5").size(), held.fires ? 1u : 0u) << "with " << key << " held";
    Pass("-F5 -" + key);
  }
}

TEST_F(ScriptedHotkeys, OneQueryPerEntryUnlessItsKeyEntersTheTriggerState) {
  RegisterHotkey(&CallbackA, -kF5);
  RegisterHotkey(&CallbackA, kF6, kModifierCtrl, 'A');
  RegisterHotkey(&CallbackA, 'A', kModifierCtrl, -'A');

  Pass("");
  EXPECT_EQ(keyboard_.queries(), (std::vector<int>{kF5, kF6, 'A'})) << "the main key by its magnitude";

  // Entering: all four modifiers in order (never the right Windows key), then the second key.
  EXPECT_EQ(Pass("+Ctrl +A +F6"), std::vector<std::int32_t>{kSecond});
  EXPECT_EQ(keyboard_.queries(), (std::vector<int>{kF5, kF6, VK_MENU, VK_CONTROL, VK_SHIFT, VK_LWIN, 'A', 'A',
                                                   VK_MENU, VK_CONTROL, VK_SHIFT, VK_LWIN, -'A'}))
      << "a second key is queried as stored, even negative";

  Pass("");
  EXPECT_EQ(keyboard_.queries(), (std::vector<int>{kF5, kF6, 'A'})) << "latched entries query nothing more";
}

TEST_F(ScriptedHotkeys, ModifierMismatchSkipsTheSecondKeyQuery) {
  RegisterHotkey(&CallbackA, kF5, 0, 'A');
  EXPECT_TRUE(Pass("+Shift +A +F5").empty());
  EXPECT_EQ(keyboard_.queries(), (std::vector<int>{kF5, VK_MENU, VK_CONTROL, VK_SHIFT, VK_LWIN}));
}

TEST_F(ScriptedHotkeys, EmptyOrReleasedTableMakesAnEmptyPass) {
  EXPECT_TRUE(Pass("+F5").empty());
  EXPECT_TRUE(keyboard_.queries().empty());

  RegisterHotkey(&CallbackA, kF5);
  FreeHotkeyTable();
  EXPECT_TRUE(Pass("-F5 +F5").empty());
  EXPECT_TRUE(keyboard_.queries().empty());
}

TEST_F(ScriptedHotkeys, AFailedThreadStartUsesThePressUpAndTheNextPressFires) {
  RegisterHotkey(&CallbackA, kF5);
  starter_.FailNext(1);
  EXPECT_TRUE(Pass("+F5").empty());
  ASSERT_EQ(starter_.starts().size(), 1u);
  EXPECT_FALSE(starter_.starts()[0].started);
  EXPECT_EQ((*g_hotkeyTable)[0]->latched, 1);

  EXPECT_TRUE(Pass("").empty());
  EXPECT_TRUE(starter_.starts().empty()) << "a lost start is not retried while the key is held";
  Pass("-F5");
  EXPECT_EQ(Pass("+F5"), std::vector<std::int32_t>{kFirst});
}

TEST_F(ScriptedHotkeys, FiringStartsTheEntrysCallbackWithItsId) {
  RegisterHotkey(&CallbackA, kF5);
  RegisterHotkey(&CallbackB, kF6);
  Pass("+F6");
  ASSERT_EQ(starter_.starts().size(), 1u);
  EXPECT_EQ(starter_.starts()[0].callback, &CallbackB);
  EXPECT_EQ(starter_.starts()[0].id, kSecond);
}

TEST_F(ScriptedHotkeys, AHotkeyWithoutACallbackUsesThePressUpWithoutStartingAThread) {
  RegisterHotkey(nullptr, kF5);
  EXPECT_TRUE(Pass("+F5").empty());
  EXPECT_TRUE(starter_.starts().empty());
  EXPECT_EQ((*g_hotkeyTable)[0]->latched, 1);
}

TEST_F(ScriptedHotkeys, APassAllocatesNothing) {
  RegisterHotkey(&CallbackA, -kF5);
  RegisterHotkey(&CallbackA, kF5);
  RegisterHotkey(&CallbackA, kF6, kModifierCtrl, 'A');
  const char* const kEvents[] = {"", "+F5", "", "-F5", "+F5 -F5", "+Ctrl +A +F6", "", "-Ctrl -A -F6"};
  int fired = 0;
  for (const char* events : kEvents) {
    keyboard_.Apply(events);  // parsing the script may allocate; only the pass is counted
    EXPECT_EQ(CountAllocations([] { PollHotkeys(); }), 0) << "in the pass after \"" << events << '"';
  }
  for (const StartAttempt& start : starter_.starts()) fired += start.started ? 1 : 0;
  EXPECT_EQ(fired, 3) << "the passes measured did fire";
}

TEST(TriggerState, DependsOnTheKeyStateAndTheSignOfTheKeyCode) {
  constexpr std::int32_t kDown = static_cast<std::int16_t>(0x8000);
  constexpr std::int32_t kDownPressedSince = static_cast<std::int16_t>(0x8001);
  constexpr std::int32_t kUpPressedSince = 1;
  const struct {
    std::int32_t keyCode;
    std::int32_t keyState;
    bool trigger;
  } kCases[] = {
      {116, 0, false},   {116, kDown, true},  {116, kDownPressedSince, true},  {116, kUpPressedSince, false},
      {0, 0, false},     {0, kDown, true},    {0, kUpPressedSince, true},
      {-116, 0, false},  {-116, kDown, false}, {-116, kDownPressedSince, false}, {-116, kUpPressedSince, true},
      {std::numeric_limits<std::int32_t>::min(), kUpPressedSince, true},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(IsTriggerState(c.keyCode, c.keyState), c.trigger) << "key code " << c.keyCode << ", state " << c.keyState;
  }
}

// The real thread start: a new thread, other than the polling one, gets the id as its parameter.
std::atomic<std::intptr_t> g_receivedParameter{0};
std::atomic<DWORD> g_callbackThread{0};
HANDLE g_callbackRan = nullptr;

DWORD WINAPI RecordThread(LPVOID parameter) {
  g_receivedParameter = reinterpret_cast<std::intptr_t>(parameter);
  g_callbackThread = ::GetCurrentThreadId();
  ::SetEvent(g_callbackRan);
  return 0;
}

TEST_F(ScriptedHotkeys, TheDefaultStarterRunsTheCallbackOnANewThreadWithTheId) {
  SetHotkeyThreadStarter({});
  g_callbackRan = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(g_callbackRan, nullptr);
  RegisterHotkey(&CallbackA, kF5);
  RegisterHotkey(&RecordThread, kF6);
  keyboard_.Apply("+F6");
  PollHotkeys();
  EXPECT_EQ(::WaitForSingleObject(g_callbackRan, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(g_receivedParameter, kSecond);
  EXPECT_NE(g_callbackThread, ::GetCurrentThreadId());
  ::CloseHandle(g_callbackRan);
}

}  // namespace
}  // namespace hotkey_test
