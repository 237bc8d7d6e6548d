#include "program_entry.h"

#include "hotkeys/hotkey_table.h"
#include "launch_host.h"
#include "main_window.h"
#include "toolkit/message_loop.h"
#include "toolkit/program.h"
#include "toolkit/window.h"

namespace app {

int ProgramEntry() {
  toolkit::Initialise();
  CreateHotkeyTable();
  toolkit::SetExitHook(&FreeHotkeyTable);
  SignalLaunchHost();
  toolkit::LoadWindow(MainWindowLayout());
  toolkit::RunMessageLoop();
  return 0;
}

}  // namespace app
