// What the F5 hotkey costs: how long from a key press to its callback thread, and how much processor
// time polling takes while nothing is pressed. Prints figures; judges nothing.
//
//   hotkeys_bench                      both, with the defaults below
//   hotkeys_bench latency [presses]    F5 pressed by another process (default 200 presses)
//   hotkeys_bench idle [seconds]       the hotkey registered, nothing pressed (default 60 s)

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "hotkeys/hotkey_polling.h"
#include "hotkeys/hotkey_registration.h"
#include "hotkeys/hotkey_table.h"

namespace {

constexpr DWORD kHoldMs = 100;
constexpr int kDefaultPresses = 200;
constexpr int kDefaultIdleSeconds = 60;

// Shared with the injecting process: which press went down last, and when.
struct InjectionClock {
  std::atomic<std::int64_t> pressNumber;
  std::atomic<std::int64_t> injectedAt;  // QueryPerformanceCounter, the same clock in every process
};

std::int64_t Now() {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

double TicksToMs(std::int64_t ticks) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return 1000.0 * static_cast<double>(ticks) / frequency;
}

class SharedClock {
 public:
  SharedClock(const std::string& name, bool create) {
    mapping_ = create ? ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             sizeof(InjectionClock), name.c_str())
                      : ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    if (mapping_) view_ = ::MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(InjectionClock));
  }
  ~SharedClock() {
    if (view_) ::UnmapViewOfFile(view_);
    if (mapping_) ::CloseHandle(mapping_);
  }
  SharedClock(const SharedClock&) = delete;
  SharedClock& operator=(const SharedClock&) = delete;
  InjectionClock* get() const { return static_cast<InjectionClock*>(view_); }

 private:
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
};

void SendF5(bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_F5;
  input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(VK_F5, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  ::SendInput(1, &input, sizeof input);
}

// The other process: presses F5 at random moments, so the presses fall at every phase of the
// 10 ms poll period, and stamps each press just before it goes down.
int Inject(const std::string& clockName, int presses) {
  SharedClock shared(clockName, false);
  InjectionClock* clock = shared.get();
  if (!clock) return 2;
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<DWORD> gapMs(40, 90);
  for (int press = 1; press <= presses; ++press) {
    ::Sleep(gapMs(random));
    clock->injectedAt.store(Now(), std::memory_order_relaxed);
    clock->pressNumber.store(press, std::memory_order_release);
    SendF5(true);
    ::Sleep(kHoldMs);
    SendF5(false);
  }
  return 0;
}

void PumpUntil(HANDLE handle, ULONGLONG deadline) {
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return;
    if (handle && ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) return;
    const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 100));
    ::MsgWaitForMultipleObjects(handle ? 1 : 0, handle ? &handle : nullptr, FALSE, wait, QS_ALLINPUT);
  }
}

struct Sample {
  std::int64_t pressNumber;
  std::int64_t latencyTicks;
};

InjectionClock* g_clock = nullptr;
std::vector<Sample> g_samples;  // sized before the first press; filled by the callback threads
std::atomic<std::size_t> g_sampleCount{0};

DWORD WINAPI OnBenchF5(LPVOID) {
  const std::int64_t started = Now();
  if (!g_clock) return 0;  // a stray press while only idling
  const std::int64_t press = g_clock->pressNumber.load(std::memory_order_acquire);
  const std::int64_t injectedAt = g_clock->injectedAt.load(std::memory_order_relaxed);
  const std::size_t slot = g_sampleCount++;
  if (slot < g_samples.size()) g_samples[slot] = {press, started - injectedAt};
  return 0;
}

double Percentile(const std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0.0;
  const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(rank, sorted.size() - 1)];
}

int Latency(int presses) {
  const std::string clockName = "QuelbrinHotkeyBench-" + std::to_string(::GetCurrentProcessId());
  SharedClock shared(clockName, true);
  g_clock = shared.get();
  if (!g_clock) {
    std::fprintf(stderr, "latency: no shared memory\n");
    return 1;
  }
  g_samples.assign(static_cast<std::size_t>(presses) * 2, {});
  RegisterHotkey(&OnBenchF5, VK_F5);

  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" inject " +
                             std::wstring(clockName.begin(), clockName.end()) + L" " + std::to_wstring(presses);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION injector{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &injector)) {
    std::fprintf(stderr, "latency: cannot start the injecting process\n");
    return 1;
  }
  ::CloseHandle(injector.hThread);
  const ULONGLONG bound = ::GetTickCount64() + 10000 + static_cast<ULONGLONG>(presses) * 400;
  PumpUntil(injector.hProcess, bound);
  if (::WaitForSingleObject(injector.hProcess, 0) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "latency: the injecting process did not finish in time\n");
    ::TerminateProcess(injector.hProcess, 1);
  }
  ::CloseHandle(injector.hProcess);
  PumpUntil(nullptr, ::GetTickCount64() + 500);  // the last firing

  const std::size_t count = std::min(g_sampleCount.load(), g_samples.size());
  std::vector<double> latencies;
  std::vector<bool> seen(static_cast<std::size_t>(presses) + 1, false);
  int extra = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const Sample& sample = g_samples[i];
    if (sample.pressNumber < 1 || sample.pressNumber > presses || seen[sample.pressNumber]) {
      ++extra;
      continue;
    }
    seen[sample.pressNumber] = true;
    latencies.push_back(TicksToMs(sample.latencyTicks));
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("F5 to callback thread: %d presses, %zu fired, %d missed, %d extra firings\n", presses,
              latencies.size(), presses - static_cast<int>(latencies.size()), extra);
  if (!latencies.empty()) {
    std::printf("  latency ms: min %.2f  p50 %.2f  p99 %.2f  max %.2f\n", latencies.front(),
                Percentile(latencies, 0.50), Percentile(latencies, 0.99), latencies.back());
  }
  g_clock = nullptr;  // the shared view goes with this scope
  return 0;
}

std::int64_t ProcessorTime100ns() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto value = [](const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return value(kernel) + value(user);
}

int Idle(int seconds) {
  // Counts the passes through the key-state query; with one entry, one query is one pass.
  std::atomic<std::int64_t> passes{0};
  SetKeyStateQuery([&passes](int key) {
    ++passes;
    return static_cast<std::int32_t>(::GetAsyncKeyState(key));
  });
  RegisterHotkey(&OnBenchF5, VK_F5);

  const std::int64_t processorBefore = ProcessorTime100ns();
  const std::int64_t wallBefore = Now();
  const std::int64_t passesBefore = passes;
  PumpUntil(nullptr, ::GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000);
  const double wallMs = TicksToMs(Now() - wallBefore);
  const double processorMs = static_cast<double>(ProcessorTime100ns() - processorBefore) / 10000.0;
  const auto passCount = passes - passesBefore;

  std::printf("idle polling over %.1f s: %lld passes (%.1f per s), processor time %.1f ms = %.3f %% of one core\n",
              wallMs / 1000.0, static_cast<long long>(passCount), 1000.0 * static_cast<double>(passCount) / wallMs,
              processorMs, 100.0 * processorMs / wallMs);
  SetKeyStateQuery({});
  return 0;
}

int ArgumentOr(int argc, char** argv, int index, int fallback) {
  if (argc <= index) return fallback;
  const int value = std::atoi(argv[index]);
  return value > 0 ? value : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "inject" && argc > 3) return Inject(argv[2], std::atoi(argv[3]));
  CreateHotkeyTable();
  int result = 0;
  if (mode == "latency") {
    result = Latency(ArgumentOr(argc, argv, 2, kDefaultPresses));
  } else if (mode == "idle") {
    result = Idle(ArgumentOr(argc, argv, 2, kDefaultIdleSeconds));
  } else if (mode.empty()) {
    result = Latency(kDefaultPresses);
    if (result == 0) result = Idle(kDefaultIdleSeconds);
  } else {
    std::fprintf(stderr, "usage: hotkeys_bench [latency [presses] | idle [seconds]]\n");
    result = 64;
  }
  FreeHotkeyTable();
  return result;
}
