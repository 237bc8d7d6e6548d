// F5 pressed in another process, as a person presses it, reaches this process's hotkey through the
// real poll timer, and still reaches the focused window of a third process.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "hotkeys/hotkey_registration.h"
#include "hotkeys/hotkey_table.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Runs this thread's messages, and with them the poll timer, until the condition holds or the
// time is up; gives the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    if (condition()) return true;
    if (Clock::now() >= deadline) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

std::wstring ToolPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder + L"hotkeys_key_tool.exe";
}

struct OwnedHandle {
  HANDLE handle = nullptr;
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE h) : handle(h) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() {
    if (handle) ::CloseHandle(handle);
  }
};

// A run of the key tool; ended by force if it outlives its test.
class ToolRun {
 public:
  explicit ToolRun(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + ToolPath() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &info)) {
      ::CloseHandle(info.hThread);
      process_.handle = info.hProcess;
    }
  }
  ~ToolRun() {
    if (process_.handle && ::WaitForSingleObject(process_.handle, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.handle, 1);
      ::WaitForSingleObject(process_.handle, 5000);
    }
  }
  [[nodiscard]] bool Started() const { return process_.handle != nullptr; }
  [[nodiscard]] bool Ended() const { return ::WaitForSingleObject(process_.handle, 0) == WAIT_OBJECT_0; }

  // The exit code, once the tool has ended within the timeout; the hotkey keeps polling meanwhile.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout) const {
    if (!Started() || !PumpUntil([this] { return Ended(); }, timeout)) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.handle, &code);
    return code;
  }

 private:
  OwnedHandle process_;
};

std::atomic<int> g_firings{0};
std::atomic<DWORD> g_firingThread{0};

DWORD WINAPI CountFiring(LPVOID) {
  g_firingThread = ::GetCurrentThreadId();
  ++g_firings;
  return 0;
}

class F5Hotkey : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CreateHotkeyTable();
    RegisterHotkey(&CountFiring, VK_F5);
  }
  static void TearDownTestSuite() { FreeHotkeyTable(); }

  void SetUp() override {
    PumpFor(100ms);  // lets the previous test's last key release be seen
    g_firings = 0;
  }

  // Presses keys from another process and gives the number of firings they caused.
  static int FiringsOf(const std::wstring& pressArguments, int expected) {
    ToolRun press(L"press " + pressArguments);
    EXPECT_TRUE(press.Started());
    EXPECT_EQ(press.WaitForExit(20s), std::optional<DWORD>(0)) << "press " << std::string(pressArguments.begin(), pressArguments.end());
    PumpUntil([expected] { return g_firings >= expected; }, 3s);
    PumpFor(300ms);  // a late extra firing shows up here
    return g_firings;
  }
};

TEST_F(F5Hotkey, EachPressFiresOnceOnAThreadOfItsOwn) {
  EXPECT_EQ(FiringsOf(L"F5 150 3 200", 3), 3);
  EXPECT_NE(g_firingThread, ::GetCurrentThreadId());
}

TEST_F(F5Hotkey, HoldingF5FiresOnce) {
  EXPECT_EQ(FiringsOf(L"F5 300", 1), 1);
}

TEST_F(F5Hotkey, CtrlF5FiresNothingAndTheNextPlainF5Fires) {
  EXPECT_EQ(FiringsOf(L"Ctrl+F5 150", 0), 0);
  EXPECT_EQ(FiringsOf(L"F5 150", 1), 1);
}

TEST_F(F5Hotkey, TheFocusedTextBoxOfAnotherProcessStillReceivesF5) {
  const std::string name = "QuelbrinHotkeyTarget-" + std::to_string(::GetCurrentProcessId());
  OwnedHandle ready(::CreateEventA(nullptr, TRUE, FALSE, (name + "-ready").c_str()));
  OwnedHandle sawF5(::CreateEventA(nullptr, FALSE, FALSE, (name + "-saw-f5").c_str()));
  OwnedHandle quit(::CreateEventA(nullptr, TRUE, FALSE, (name + "-quit").c_str()));
  ASSERT_TRUE(ready.handle && sawF5.handle && quit.handle);

  ToolRun target(L"target " + std::wstring(name.begin(), name.end()));
  ASSERT_TRUE(target.Started());
  ASSERT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(ready.handle, 0) == WAIT_OBJECT_0 || target.Ended(); }, 15s));
  ASSERT_FALSE(target.Ended()) << "the target window did not get the focus";

  EXPECT_EQ(FiringsOf(L"F5 150", 1), 1);
  EXPECT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(sawF5.handle, 0) == WAIT_OBJECT_0; }, 3s))
      << "no WM_KEYDOWN of F5 reached the focused edit box";

  ::SetEvent(quit.handle);
  const std::optional<DWORD> strokes = target.WaitForExit(10s);
  ASSERT_TRUE(strokes.has_value());
  EXPECT_EQ(*strokes, 1u) << "F5 key strokes the edit box received";
}

}  // namespace
