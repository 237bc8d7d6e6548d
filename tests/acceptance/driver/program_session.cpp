#include "program_session.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>

namespace driver {

ProgramSession::ProgramSession(const std::wstring& exe) : process_(Process::Start(exe)) {
  if (!process_.Running()) return;
  window_ = WaitForWindowOfClass(process_.id(), L"ToolkitWindow", kMainCaption);
  if (!window_) return;
  editBox_ = FindChild(window_, L"Edit", L"");
  setButton_ = FindChild(window_, L"Button", L"设置");
}

ProgramSession::~ProgramSession() {
  if (process_.Running()) Close(5s);
}

// Keys that go to the focused window's queue need no long hold; only the polled F5 does.
constexpr auto kQuickPress = 30ms;

void ProgramSession::SelectAllOfEditBox() {
  ClickOn(editBox_);
  PressKey(VK_HOME, kQuickPress);
  KeyDown(VK_SHIFT);
  PressKey(VK_END, kQuickPress);
  KeyUp(VK_SHIFT);
}

void ProgramSession::ClearEditBox() {
  SelectAllOfEditBox();
  PressKey(VK_DELETE, kQuickPress);
  WaitUntil([&] { return TextOf(editBox_).empty(); }, 2s);
}

HWND ProgramSession::FindMessageBox(std::chrono::milliseconds timeout) const {
  return WaitForWindowOfClass(process_.id(), L"#32770", L"信息：", timeout);
}

std::wstring ProgramSession::SetInterval(std::wstring_view text, bool paste) {
  if (paste) {
    SetClipboardText(text);
    SelectAllOfEditBox();  // the pasted text replaces the selection
    PressWithModifiers({VK_CONTROL}, 'V', kQuickPress);
    if (text.empty()) PressKey(VK_DELETE, kQuickPress);
  } else {
    ClearEditBox();
    TypeText(text);
  }
  ClickOn(setButton_);
  HWND box = FindMessageBox(5s);
  if (!box) return {};
  std::wstring message;
  for (HWND child : ChildrenOf(box)) {
    if (ClassOf(child) == L"Static" && !TextOf(child).empty()) message = TextOf(child);
  }
  PressKey(VK_RETURN, kQuickPress);  // the box's only button has the focus
  if (!WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 3s)) {
    if (HWND ok = FindChild(box, L"Button", L"")) ClickOn(ok);
    WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 3s);
  }
  WaitUntil([&] { return ::IsWindowEnabled(window_) != FALSE; }, 2s);
  return message;
}

std::optional<DWORD> ProgramSession::Close(std::chrono::milliseconds timeout) {
  ::PostMessageW(window_, WM_CLOSE, 0, 0);
  return process_.WaitForExit(timeout);
}

bool SetClipboardText(std::wstring_view text) {
  // SetClipboardData refuses the text unless the clipboard was opened by a window.
  const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
  // Another program may hold the clipboard for a moment.
  if (!WaitUntil([&] { return ::OpenClipboard(owner) != FALSE; }, 2s)) {
    ::DestroyWindow(owner);
    return false;
  }
  ::EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool placed = false;
  if (memory) {
    if (void* target = ::GlobalLock(memory)) {
      std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
      static_cast<wchar_t*>(target)[text.size()] = L'\0';
      ::GlobalUnlock(memory);
      placed = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!placed) ::GlobalFree(memory);  // the clipboard owns it only once it took it
  }
  ::CloseClipboard();
  ::DestroyWindow(owner);
  return placed;
}

DWORD HandleCountOf(HANDLE process) {
  DWORD count = 0;
  ::GetProcessHandleCount(process, &count);
  return count;
}

namespace {
PROCESS_MEMORY_COUNTERS_EX MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
  return counters;
}
}  // namespace

SIZE_T PrivateBytesOf(HANDLE process) { return MemoryOf(process).PrivateUsage; }
SIZE_T WorkingSetOf(HANDLE process) { return MemoryOf(process).WorkingSetSize; }
SIZE_T PeakWorkingSetOf(HANDLE process) { return MemoryOf(process).PeakWorkingSetSize; }

DWORD ThreadCountOf(DWORD processId) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  DWORD count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == processId) ++count;
  }
  ::CloseHandle(snapshot);
  return count;
}

double CpuTimeMsOf(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  const auto ticks = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 10'000.0;
}

}  // namespace driver
