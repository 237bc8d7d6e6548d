#include <windows.h>

#include "program_entry.h"
#include "toolkit/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { toolkit::RunProgram(&app::ProgramEntry); }
