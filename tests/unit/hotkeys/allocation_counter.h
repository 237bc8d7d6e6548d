#pragma once
// Counts the allocations a stretch of code makes, through the test program's own operator new.

namespace hotkey_test {

void StartCountingAllocations();
int StopCountingAllocations();

// Runs action and gives the number of allocations made meanwhile, on any thread.
template <typename Action>
int CountAllocations(Action&& action) {
  StartCountingAllocations();
  action();
  return StopCountingAllocations();
}

}  // namespace hotkey_test
