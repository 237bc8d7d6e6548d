#include "driver.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace driver {

namespace {

std::wstring FolderOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return input;
}

INPUT KeyInput(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  return input;
}

void Send(INPUT input) { ::SendInput(1, &input, sizeof(INPUT)); }

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

}  // namespace

std::wstring BinFolder() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return FolderOf(path);
}

std::wstring ProgramPath() { return BinFolder() + L"\\Quelbrin.exe"; }
std::wstring ToolPath(std::wstring_view exeName) { return BinFolder() + L"\\" + std::wstring(exeName); }

void PumpFor(std::chrono::milliseconds duration) {
  const auto end = Clock::now() + duration;
  for (;;) {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<long long>(left, 5)), QS_ALLINPUT);
  }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() >= end) return condition();
    PumpFor(5ms);
  }
  return true;
}

ScratchFolder::ScratchFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH + 1]{};
  ::GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"quelbrin-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  // A program that has just ended may still hold its file for a moment.
  for (int attempt = 0; attempt < 50; ++attempt) {
    std::filesystem::remove_all(path_, ignored);
    if (!std::filesystem::exists(path_, ignored)) return;
    ::Sleep(100);
  }
}

std::wstring ScratchFolder::CopyIn(const std::wstring& source, std::wstring_view name) const {
  const std::wstring target = path_ + L"\\" + std::wstring(name);
  ::CopyFileW(source.c_str(), target.c_str(), FALSE);
  return target;
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    if (handle_) ::CloseHandle(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

Process::~Process() {
  Kill();
  if (handle_) ::CloseHandle(handle_);
}

Process Process::Start(const std::wstring& exePath, std::wstring_view commandTail, const std::wstring& workingFolder) {
  std::wstring commandLine = L"\"" + exePath + L"\"";
  if (!commandTail.empty()) commandLine += L" " + std::wstring(commandTail);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  Process process;
  if (::CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
    ::CloseHandle(info.hThread);
    process.handle_ = info.hProcess;
    process.id_ = info.dwProcessId;
  }
  return process;
}

bool Process::Running() const { return handle_ && ::WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitForExit(std::chrono::milliseconds timeout) const {
  if (!handle_) return std::nullopt;
  const bool ended = WaitUntil([&] { return ::WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }, timeout);
  if (!ended) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::Kill() {
  if (Running()) {
    ::TerminateProcess(handle_, 9);
    ::WaitForSingleObject(handle_, 5000);
  }
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  WindowSearch search{processId, {}};
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindowOfClass(DWORD processId, std::wstring_view className, std::wstring_view caption,
                          std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindowsOf(processId)) {
          if (!::IsWindowVisible(window)) continue;
          if (!className.empty() && ClassOf(window) != className) continue;
          if (TextOf(window) == caption) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

HWND WaitForWindow(DWORD processId, std::wstring_view caption, std::chrono::milliseconds timeout) {
  return WaitForWindowOfClass(processId, L"", caption, timeout);
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[1024]{};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 2000, &copied)) {
    return {};
  }
  return std::wstring(buffer, copied);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256]{};
  const int length = ::GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND FindChild(HWND parent, std::wstring_view className, std::wstring_view text) {
  for (HWND child : ChildrenOf(parent)) {
    if (!className.empty() && ::lstrcmpiW(ClassOf(child).c_str(), std::wstring(className).c_str()) != 0) continue;
    if (!text.empty() && TextOf(child) != text) continue;
    return child;
  }
  return nullptr;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

RECT RectInParent(HWND child) {
  RECT rect = ScreenRect(child);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

POINT Centre(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

bool IsTopmost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void MoveMouseTo(POINT screen) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  // Absolute coordinates run from 0 to 65535 across the primary screen.
  const LONG x = static_cast<LONG>((screen.x * 65535 + (width - 1) / 2) / (width - 1));
  const LONG y = static_cast<LONG>((screen.y * 65535 + (height - 1) / 2) / (height - 1));
  Send(MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y));
  PumpFor(20ms);
}

void MouseButton(DWORD flags) { Send(MouseInput(flags)); }

void ClickAt(POINT screen) {
  MoveMouseTo(screen);
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  PumpFor(40ms);
  MouseButton(MOUSEEVENTF_LEFTUP);
  PumpFor(40ms);
}

void ClickOn(HWND window) { ClickAt(Centre(ScreenRect(window))); }

void DoubleClickAt(POINT screen) {
  MoveMouseTo(screen);
  for (int i = 0; i < 2; ++i) {
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    PumpFor(20ms);
    MouseButton(MOUSEEVENTF_LEFTUP);
    PumpFor(20ms);
  }
  PumpFor(60ms);
}

void DragFromTo(POINT from, POINT to) {
  MoveMouseTo(from);
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  PumpFor(80ms);
  constexpr int kSteps = 8;
  for (int step = 1; step <= kSteps; ++step) {
    MoveMouseTo(POINT{from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps});
  }
  PumpFor(80ms);
  MouseButton(MOUSEEVENTF_LEFTUP);
  PumpFor(150ms);
}

void KeyDown(WORD virtualKey) { Send(KeyInput(virtualKey, 0)); }
void KeyUp(WORD virtualKey) { Send(KeyInput(virtualKey, KEYEVENTF_KEYUP)); }

void PressKey(WORD virtualKey, std::chrono::milliseconds hold) {
  KeyDown(virtualKey);
  PumpFor(hold);
  KeyUp(virtualKey);
  PumpFor(40ms);
}

void PressWithModifiers(std::initializer_list<WORD> modifiers, WORD virtualKey, std::chrono::milliseconds hold) {
  for (WORD modifier : modifiers) {
    KeyDown(modifier);
    PumpFor(40ms);
  }
  PressKey(virtualKey, hold);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
    KeyUp(*it);
    PumpFor(40ms);
  }
}

void TypeText(std::wstring_view text) {
  for (const wchar_t c : text) {
    INPUT input[2]{};
    for (int i = 0; i < 2; ++i) {
      input[i].type = INPUT_KEYBOARD;
      input[i].ki.wScan = c;
      input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    ::SendInput(2, input, sizeof(INPUT));
    PumpFor(15ms);
  }
  PumpFor(50ms);
}

void BringToFront(HWND window) {
  ClickAt(Centre(ScreenRect(window)));
}

bool Responds(HWND window, std::chrono::milliseconds timeout) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               static_cast<UINT>(timeout.count()), &ignored) != 0;
}

std::int64_t QpcNow() {
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double QpcToMs(std::int64_t ticks) {
  static const double frequency = [] {
    LARGE_INTEGER f{};
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(ticks) * 1000.0 / frequency;
}

std::wstring ArtifactFolder() {
  if (const wchar_t* folder = _wgetenv(L"QUELBRIN_ARTIFACTS"); folder && *folder) return folder;
  return BinFolder();
}

}  // namespace driver
