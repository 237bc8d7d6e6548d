// A tiny program on the toolkit, so that tests can watch its process start and exit from outside.
//
//   toolkit_probe <log file>          shows a window "toolkit probe" until it is closed
//   toolkit_probe <log file> fatal    binds an event to a control that does not exist
//
// The log gets "cwd=<working directory>" at start and "exit hook" each time the exit hook runs.

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <cstdio>
#include <string>

#include "toolkit/layout.h"
#include "toolkit/message_loop.h"
#include "toolkit/program.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

namespace {

std::wstring g_logPath;
bool g_fatal = false;

// UTF-8 lines, appended.
void AppendToLog(const std::wstring& line) {
  if (FILE* log = _wfopen(g_logPath.c_str(), L"ab")) {
    const std::string bytes = toolkit::WideToUtf8(line) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), log);
    std::fclose(log);
  }
}

void OnExit() { AppendToLog(L"exit hook"); }

void Nothing() {}

const std::array kControls{
    toolkit::ControlRow{"按钮", 1, {10, 10, 80, 24}, L"OK", true, toolkit::PushButtonSpec{}},
};
const std::array kGoodBindings{toolkit::Binding{"按钮", toolkit::Event::Clicked, &Nothing}};
const std::array kBadBindings{toolkit::Binding{"没有这个组件", toolkit::Event::Clicked, &Nothing}};

toolkit::WindowLayout Layout() {
  toolkit::WindowLayout layout{
      .name = "探针",
      .layoutId = 1,
      .id = 2,
      .caption = L"toolkit probe",
      .stored = {40, 40, 200, 100},
      .startPlace = toolkit::StartPlace::Stored,
      .toolWindow = false,
      .topmost = false,
      .visible = true,
      .escapeCloses = true,
      .controls = kControls,
      .bindings = kGoodBindings,
  };
  if (g_fatal) layout.bindings = kBadBindings;
  return layout;
}

int ProbeEntry() {
  toolkit::Initialise();
  wchar_t directory[MAX_PATH]{};
  ::GetCurrentDirectoryW(MAX_PATH, directory);
  AppendToLog(std::wstring(L"cwd=") + directory);
  toolkit::SetExitHook(&OnExit);
  static const toolkit::WindowLayout layout = Layout();
  toolkit::LoadWindow(layout);
  toolkit::RunMessageLoop();
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (arguments && count > 1) g_logPath = arguments[1];
  g_fatal = arguments && count > 2 && std::wstring(arguments[2]) == L"fatal";
  if (arguments) ::LocalFree(arguments);
  toolkit::RunProgram(&ProbeEntry);
}
