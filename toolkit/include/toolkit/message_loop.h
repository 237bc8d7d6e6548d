#pragma once

namespace toolkit {

// Dispatches every message of the thread, windowless timer messages too, until WM_QUIT;
// returns the quit message's exit code. Skipped (returns 0) when no toolkit window exists.
int RunMessageLoop();

// Dispatches the messages that wait in the thread's queue. A quit message is left queued.
void ProcessEvents();

}  // namespace toolkit
