#pragma once
// Drives the real Quelbrin.exe from a separate test process, the way a person would: launch it,
// find its window and controls, click and type with SendInput, press keys for as long as a person
// does, and close it. Every wait is bounded and pumps this thread's messages meanwhile.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

inline constexpr std::wstring_view kMainCaption = L"Quelbrinv1.0  开始：F5  by Ledrowik Tessmoor论坛支持";

// The folder of the running test program; Quelbrin.exe and the test tools lie beside it.
std::wstring BinFolder();
std::wstring ProgramPath();
std::wstring ToolPath(std::wstring_view exeName);

// Runs this thread's messages for the given time.
void PumpFor(std::chrono::milliseconds duration);
// Pumps messages until the condition holds or the time is up; returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// A folder of its own under %TEMP%, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  [[nodiscard]] const std::wstring& path() const { return path_; }
  // Copies a file into the folder under a new name; returns the copy's full path.
  std::wstring CopyIn(const std::wstring& source, std::wstring_view name) const;

 private:
  std::wstring path_;
};

// A started process; ended by force at destruction if it still runs.
class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  // commandTail is appended to the quoted program path.
  static Process Start(const std::wstring& exePath, std::wstring_view commandTail = L"",
                       const std::wstring& workingFolder = L"");

  [[nodiscard]] DWORD id() const { return id_; }
  [[nodiscard]] HANDLE handle() const { return handle_; }
  [[nodiscard]] bool Running() const;
  // The exit code once the process has ended within the timeout.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout) const;
  void Kill();

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// Top-level windows of a process, visible or not.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
// The visible top-level window of the process with this caption, once it appears.
HWND WaitForWindow(DWORD processId, std::wstring_view caption, std::chrono::milliseconds timeout = 15s);
// A visible window with this caption of the given class (for example L"#32770" for a message box).
HWND WaitForWindowOfClass(DWORD processId, std::wstring_view className, std::wstring_view caption,
                          std::chrono::milliseconds timeout = 10s);

// Text of a window of any process, through WM_GETTEXT.
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
std::vector<HWND> ChildrenOf(HWND parent);
// The child whose text matches, or whose class matches when text is empty; null if none.
HWND FindChild(HWND parent, std::wstring_view className, std::wstring_view text);
RECT ScreenRect(HWND window);
// A child's rectangle relative to its parent's client area.
RECT RectInParent(HWND child);
POINT Centre(const RECT& rect);
bool IsTopmost(HWND window);

// Mouse input through SendInput.
void MoveMouseTo(POINT screen);
void MouseButton(DWORD flags);
void ClickAt(POINT screen);
void ClickOn(HWND window);
void DoubleClickAt(POINT screen);
// Presses the left button at one point, drags to another and lets go.
void DragFromTo(POINT from, POINT to);

// Key input through SendInput. A press is held like a person's, long enough for a 10 ms poller.
inline constexpr auto kHumanPress = 120ms;
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
void PressKey(WORD virtualKey, std::chrono::milliseconds hold = kHumanPress);
// Holds the modifiers, presses the key, lets them go in reverse order.
void PressWithModifiers(std::initializer_list<WORD> modifiers, WORD virtualKey,
                        std::chrono::milliseconds hold = kHumanPress);
// Types text as Unicode characters into the window that has the focus.
void TypeText(std::wstring_view text);

// Puts a window in front and gives it the keyboard focus, as a click on it would.
void BringToFront(HWND window);

// Sends WM_NULL and waits at most the timeout for the answer.
bool Responds(HWND window, std::chrono::milliseconds timeout = 1000ms);

std::int64_t QpcNow();
double QpcToMs(std::int64_t ticks);

// The folder where tests leave files worth keeping (screenshots, figures): %QUELBRIN_ARTIFACTS%
// when set, else the test program's folder.
std::wstring ArtifactFolder();

}  // namespace driver
