#pragma once

namespace app {

// Brings the program up, runs it until its window is closed, and returns 0.
int ProgramEntry();

}  // namespace app
