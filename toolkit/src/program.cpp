#include "toolkit/program.h"

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <atomic>
#include <new>

#include "main_window.h"
#include "toolkit/text.h"
#include "toolkit/visual_style.h"

namespace toolkit {

namespace {

struct ProgramState {
  std::wstring path;
  std::wstring folder;
  std::wstring fileName;
  DWORD windowThreadId = 0;
  bool oleInitialised = false;
  std::atomic<ExitHook> exitHook{nullptr};
  std::atomic<bool> shuttingDown{false};
  std::atomic<bool> exitStepStarted{false};
};

ProgramState& State() {
  static ProgramState state;
  return state;
}

std::wstring ModuleFileName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void RunExitHookOnce() {
  if (const ExitHook hook = State().exitHook.exchange(nullptr)) hook();
}

[[noreturn]] void RunExitStep(int exitCode) {
  ProgramState& state = State();
  if (state.exitStepStarted.exchange(true)) ::ExitProcess(static_cast<UINT>(exitCode));
  state.shuttingDown = true;
  RunExitHookOnce();
  detail::ReleaseVisualStyle();
  detail::ReleaseWindows();
  if (state.oleInitialised) ::OleUninitialize();
  ::ExitProcess(static_cast<UINT>(exitCode));
}

void OutOfMemory() { FatalError("内存不足，程序将退出。"); }

}  // namespace

void RunProgram(ProgramEntryRoutine entry) {
  std::set_new_handler(&OutOfMemory);
  State().windowThreadId = ::GetCurrentThreadId();
  RunExitStep(entry());
}

void Initialise() {
  ProgramState& state = State();
  state.windowThreadId = ::GetCurrentThreadId();
  state.oleInitialised = SUCCEEDED(::OleInitialize(nullptr));
  state.path = ModuleFileName();
  const std::size_t lastBackslash = state.path.rfind(L'\\');
  state.folder = lastBackslash == std::wstring::npos ? std::wstring() : state.path.substr(0, lastBackslash);
  state.fileName = lastBackslash == std::wstring::npos ? state.path : state.path.substr(lastBackslash + 1);
  std::wstring workingDirectory = state.folder;
  if (workingDirectory.size() == 2 && workingDirectory[1] == L':') workingDirectory += L'\\';  // a drive's root
  if (!workingDirectory.empty()) ::SetCurrentDirectoryW(workingDirectory.c_str());

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  detail::RegisterControlClasses();
}

void SetExitHook(ExitHook hook) noexcept { State().exitHook = hook; }

void FatalError(std::string_view message) {
  ProgramState& state = State();
  // From here on nothing else may reach the windows; the process ends without taking them down
  // one by one, since the failure may have struck in the middle of that work.
  state.shuttingDown = true;
  if (state.exitStepStarted.exchange(true)) ::ExitProcess(static_cast<UINT>(-1));
  ::MessageBoxW(nullptr, Utf8ToWide(message).c_str(), L"错误", MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  if (::GetCurrentThreadId() == state.windowThreadId) RunExitHookOnce();
  ::ExitProcess(static_cast<UINT>(-1));
}

const std::wstring& ProgramPath() noexcept { return State().path; }
const std::wstring& ProgramFolder() noexcept { return State().folder; }
const std::wstring& ProgramFileName() noexcept { return State().fileName; }
DWORD WindowThreadId() noexcept { return State().windowThreadId; }
bool ShuttingDown() noexcept { return State().shuttingDown; }

}  // namespace toolkit
