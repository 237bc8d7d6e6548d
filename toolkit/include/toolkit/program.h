#pragma once
// Process start and exit. The toolkit owns both: it calls the program's entry routine once on
// the first thread, then runs the exit step (exit hook, own resources, OLE) and ends the process.

#include <windows.h>

#include <string>
#include <string_view>

namespace toolkit {

using ProgramEntryRoutine = int (*)();
using ExitHook = void (*)();

// Runs the program: entry routine, then the exit step; the process ends with the entry's result.
[[noreturn]] void RunProgram(ProgramEntryRoutine entry);

// Brings the toolkit up on the calling thread, which becomes the window thread: OLE, the
// program's file name and folder, the working directory (the program's folder), window classes.
void Initialise();

// The routine run once by the exit step. Installing another replaces the first.
void SetExitHook(ExitHook hook) noexcept;

// Shows an error box, runs the exit step and ends the process with exit code -1.
[[noreturn]] void FatalError(std::string_view message);

// The full path of the program's file, the folder (without the last backslash) and the name
// after the last backslash, as the system reports them.
const std::wstring& ProgramPath() noexcept;
const std::wstring& ProgramFolder() noexcept;
const std::wstring& ProgramFileName() noexcept;

DWORD WindowThreadId() noexcept;

// True once the exit step has begun: property requests from other threads are then ignored
// instead of reaching windows that are being torn down.
bool ShuttingDown() noexcept;

}  // namespace toolkit
