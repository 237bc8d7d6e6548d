#pragma once
// A keyboard whose keys a test presses and releases between poll passes, answering key-state queries
// the way GetAsyncKeyState does, and a thread starter that records instead of starting threads.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/hotkey_polling.h"
#include "hotkeys/hotkey_registration.h"
#include "hotkeys/hotkey_table.h"

namespace hotkey_test {

inline int KeyByName(const std::string& name) {
  static const std::pair<const char*, int> kKeys[] = {
      {"F5", VK_F5},       {"F6", VK_F6},     {"A", 'A'},          {"Alt", VK_MENU},
      {"Ctrl", VK_CONTROL}, {"Shift", VK_SHIFT}, {"LWin", VK_LWIN}, {"RWin", VK_RWIN},
  };
  for (const auto& [keyName, key] : kKeys) {
    if (name == keyName) return key;
  }
  throw std::invalid_argument("no key named " + name);
}

class ScriptedKeyboard {
 public:
  ScriptedKeyboard() { queries_.reserve(4096); }

  // Applies "+F5 -Ctrl ..." in order: + presses a key, - releases it.
  void Apply(const std::string& events) {
    std::istringstream words(events);
    for (std::string word; words >> word;) {
      const int key = KeyByName(word.substr(1));
      if (word[0] == '+') {
        keys_[key].down = true;
        keys_[key].pressedSinceQuery = true;
      } else {
        keys_[key].down = false;
      }
    }
  }

  // Down: the sign bit, with the low bit still telling whether a press came since the last query.
  std::int32_t Query(int virtualKey) {
    queries_.push_back(virtualKey);
    if (virtualKey < 0 || virtualKey >= static_cast<int>(keys_.size())) return 0;
    Key& key = keys_[virtualKey];
    const int pressedBit = key.pressedSinceQuery ? 1 : 0;
    key.pressedSinceQuery = false;
    return key.down ? static_cast<std::int16_t>(0x8000 | pressedBit) : pressedBit;
  }

  std::vector<int>& queries() { return queries_; }

 private:
  struct Key {
    bool down = false;
    bool pressedSinceQuery = false;
  };
  std::array<Key, 256> keys_{};
  std::vector<int> queries_;
};

struct StartAttempt {
  HotkeyCallback callback;
  std::int32_t id;
  bool started;
};

class RecordingStarter {
 public:
  RecordingStarter() { starts_.reserve(4096); }
  bool Start(HotkeyCallback callback, std::int32_t id) {
    const bool started = failuresLeft_ == 0;
    if (!started) --failuresLeft_;
    starts_.push_back({callback, id, started});
    return started;
  }
  void FailNext(int count) { failuresLeft_ = count; }
  std::vector<StartAttempt>& starts() { return starts_; }
  std::vector<std::int32_t> StartedIds() const {
    std::vector<std::int32_t> ids;
    for (const StartAttempt& start : starts_) {
      if (start.started) ids.push_back(start.id);
    }
    return ids;
  }

 private:
  std::vector<StartAttempt> starts_;
  int failuresLeft_ = 0;
};

struct TimerStart {
  UINT_PTR timerId;
  UINT periodMs;
  TIMERPROC procedure;
};

// A fresh table with every system call of the hotkeys replaced by the scripted ones.
class ScriptedHotkeys : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateHotkeyTable();
    SetKeyStateQuery([this](int key) { return keyboard_.Query(key); });
    SetHotkeyThreadStarter([this](HotkeyCallback callback, std::int32_t id) { return starter_.Start(callback, id); });
    SetPollTimerStarter([this](UINT_PTR timerId, UINT periodMs, TIMERPROC procedure) {
      timerStarts_.push_back({timerId, periodMs, procedure});
    });
  }
  void TearDown() override {
    FreeHotkeyTable();
    SetKeyStateQuery({});
    SetHotkeyThreadStarter({});
    SetPollTimerStarter({});
  }

  // Applies the key events, runs one pass and gives the ids it fired, in order.
  std::vector<std::int32_t> Pass(const std::string& events) {
    keyboard_.Apply(events);
    starter_.starts().clear();
    keyboard_.queries().clear();
    PollHotkeys();
    return starter_.StartedIds();
  }

  ScriptedKeyboard keyboard_;
  RecordingStarter starter_;
  std::vector<TimerStart> timerStarts_;
};

inline DWORD WINAPI CallbackA(LPVOID) { return 0; }
inline DWORD WINAPI CallbackB(LPVOID) { return 0; }

}  // namespace hotkey_test
