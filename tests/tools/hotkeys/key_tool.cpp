// A second process for the hotkey tests: presses keys the way a person does, or keeps a focused
// window with a text box that reports the F5 key strokes it receives.
//
//   hotkeys_key_tool press <keys> <holdMs> [times] [gapMs]   keys: F5, Ctrl+F5, Alt+Shift+F5, ...
//   hotkeys_key_tool target <name>
//       Shows a window whose edit box has the focus, then signals the event <name>-ready. Signals
//       <name>-saw-f5 at each WM_KEYDOWN of F5 that reaches the edit box, and ends when <name>-quit
//       is signalled, with the number of those key strokes as its exit code.
//
// Exit code 64 means the arguments were wrong; 65 that the window could not take the focus.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kUsage = 64;
constexpr int kNoFocus = 65;

int KeyByName(const std::string& name) {
  static const struct {
    const char* name;
    int key;
  } kKeys[] = {{"F5", VK_F5}, {"F6", VK_F6}, {"Ctrl", VK_CONTROL}, {"Alt", VK_MENU},
               {"Shift", VK_SHIFT}, {"LWin", VK_LWIN}, {"RWin", VK_RWIN}};
  for (const auto& known : kKeys) {
    if (name == known.name) return known.key;
  }
  return 0;
}

// "Ctrl+F5" -> {VK_CONTROL, VK_F5}; empty when a name is unknown.
std::vector<int> ParseKeys(const std::string& text) {
  std::vector<int> keys;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t plus = text.find('+', begin);
    const int key = KeyByName(text.substr(begin, plus - begin));
    if (key == 0) return {};
    keys.push_back(key);
    if (plus == std::string::npos) return keys;
    begin = plus + 1;
  }
}

void SendKey(int key, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(key);
  input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  if (key == VK_LWIN || key == VK_RWIN) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  ::SendInput(1, &input, sizeof input);
}

// Modifiers go down first and come up last, a moment apart, as a person's fingers do.
void PressChord(const std::vector<int>& keys, DWORD holdMs) {
  constexpr DWORD kBetweenKeysMs = 30;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    SendKey(keys[i], true);
    if (i + 1 < keys.size()) ::Sleep(kBetweenKeysMs);
  }
  ::Sleep(holdMs);
  for (std::size_t i = keys.size(); i-- > 0;) {
    SendKey(keys[i], false);
    if (i > 0) ::Sleep(kBetweenKeysMs);
  }
}

int Press(int argc, char** argv) {
  if (argc < 4) return kUsage;
  const std::vector<int> keys = ParseKeys(argv[2]);
  const DWORD holdMs = std::strtoul(argv[3], nullptr, 10);
  const int times = argc > 4 ? std::atoi(argv[4]) : 1;
  const DWORD gapMs = argc > 5 ? std::strtoul(argv[5], nullptr, 10) : 150;
  if (keys.empty() || times < 1) return kUsage;
  for (int i = 0; i < times; ++i) {
    if (i > 0) ::Sleep(gapMs);
    PressChord(keys, holdMs);
  }
  return 0;
}

// The target window.
HANDLE g_sawF5 = nullptr;
int g_f5Strokes = 0;
WNDPROC g_editProc = nullptr;

LRESULT CALLBACK EditWatchingF5(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_F5) {
    ++g_f5Strokes;
    ::SetEvent(g_sawF5);
  }
  return ::CallWindowProcW(g_editProc, edit, message, wParam, lParam);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HANDLE NamedEvent(const std::string& name, BOOL manualReset) {
  return ::CreateEventA(nullptr, manualReset, FALSE, name.c_str());
}

// Pumps until the deadline or until done() holds; false when the deadline came first.
template <typename Done>
bool PumpUntil(HANDLE handle, DWORD timeoutMs, Done done) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return false;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (done()) return true;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return false;
    const DWORD wait = static_cast<DWORD>(deadline - now < 50 ? deadline - now : 50);
    ::MsgWaitForMultipleObjects(handle ? 1 : 0, handle ? &handle : nullptr, FALSE, wait, QS_ALLINPUT);
  }
}

int Target(int argc, char** argv) {
  if (argc < 3) return kUsage;
  const std::string name = argv[2];
  HANDLE ready = NamedEvent(name + "-ready", TRUE);
  g_sawF5 = NamedEvent(name + "-saw-f5", FALSE);
  HANDLE quit = NamedEvent(name + "-quit", TRUE);
  if (!ready || !g_sawF5 || !quit) return kUsage;

  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &TargetProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"QuelbrinHotkeyKeyTarget";
  ::RegisterClassW(&windowClass);
  HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Hotkey key target", WS_OVERLAPPEDWINDOW,
                                  200, 200, 400, 120, nullptr, nullptr, instance, nullptr);
  HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10,
                                360, 24, window, nullptr, instance, nullptr);
  if (!window || !edit) return kNoFocus;
  g_editProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditWatchingF5)));
  ::ShowWindow(window, SW_SHOWNORMAL);

  const bool focused = PumpUntil(nullptr, 5000, [&] {
    if (::GetForegroundWindow() != window) ::SetForegroundWindow(window);
    if (::GetFocus() != edit) ::SetFocus(edit);
    return ::GetForegroundWindow() == window && ::GetFocus() == edit;
  });
  if (!focused) {
    std::fprintf(stderr, "target: the window did not get the focus\n");
    return kNoFocus;
  }
  ::SetEvent(ready);
  // Bounded, so a test that dies never leaves this window behind for long.
  PumpUntil(quit, 60000, [&] { return ::WaitForSingleObject(quit, 0) == WAIT_OBJECT_0; });
  ::DestroyWindow(window);
  return g_f5Strokes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "press") == 0) return Press(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "target") == 0) return Target(argc, argv);
  std::fprintf(stderr, "usage: hotkeys_key_tool press <keys> <holdMs> [times] [gapMs] | target <name>\n");
  return kUsage;
}
