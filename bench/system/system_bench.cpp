// Figures of the whole program as a user runs it. Prints, judges nothing.
//
//   system_bench figures [idleSeconds]   start-up time, idle processor use, peak working set,
//                                        F5-to-timer-start latency, binary size (key value lines)
//   system_bench soak [minutes]          clicking every 10 ms for a while: handles, memory and
//                                        the window's answer time, once a minute
//   system_bench burst [presses]         F5 pressed and let go every 20 ms: threads, handles and
//                                        memory before and after

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver.h"
#include "program_session.h"
#include "target_window.h"

namespace {

using namespace driver;

constexpr RECT kTargetRect{600, 80, 1000, 380};

double Percentile(std::vector<double> values, double percent) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double StartupMs() {
  std::vector<double> samples;
  for (int run = 0; run < 5; ++run) {
    const std::int64_t started = QpcNow();
    Process process = Process::Start(ProgramPath());
    HWND window = WaitForWindowOfClass(process.id(), L"ToolkitWindow", kMainCaption, 15s);
    if (!window) continue;
    samples.push_back(QpcToMs(QpcNow() - started));
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    process.WaitForExit(10s);
  }
  return Percentile(samples, 50);
}

// From the F5 press to the click timer's start: the first click comes one interval after it.
std::vector<double> F5ToTimerStartMs(ProgramSession& program, int presses) {
  constexpr int kIntervalMs = 50;
  program.SetInterval(std::to_wstring(kIntervalMs));
  TargetWindow target(kTargetRect);
  target.TakeCursorAndFocus();
  std::vector<double> latencies;
  for (int i = 0; i < presses; ++i) {
    target.Clear();
    const std::int64_t pressed = QpcNow();
    KeyDown(VK_F5);
    WaitUntil([&] { return target.Count(WM_LBUTTONDOWN) > 0; }, 2s);
    const auto clicks = target.TimesOf(WM_LBUTTONDOWN);
    if (!clicks.empty()) latencies.push_back(QpcToMs(clicks.front() - pressed) - kIntervalMs);
    PumpFor(std::chrono::milliseconds(60 + i % 7 * 3));  // a person's press, at varying phases
    KeyUp(VK_F5);
    PumpFor(60ms);
    PressKey(VK_F5);  // stop again
    PumpFor(std::chrono::milliseconds(100 + i % 11 * 7));
  }
  return latencies;
}

int Figures(int idleSeconds) {
  std::printf("startup_ms %.1f\n", StartupMs());
  ProgramSession program;
  if (!program.ok()) {
    std::fprintf(stderr, "the program did not start\n");
    return 1;
  }
  HANDLE process = program.process().handle();
  PumpFor(1s);
  const double cpuBefore = CpuTimeMsOf(process);
  const std::int64_t idleStart = QpcNow();
  PumpFor(std::chrono::seconds(idleSeconds));
  const double idleCpu = CpuTimeMsOf(process) - cpuBefore;
  std::printf("idle_cpu_percent %.3f\n", 100.0 * idleCpu / QpcToMs(QpcNow() - idleStart));
  std::printf("idle_seconds %d\n", idleSeconds);

  const auto latencies = F5ToTimerStartMs(program, 60);
  std::printf("f5_to_timer_samples %zu\n", latencies.size());
  std::printf("f5_to_timer_p50_ms %.1f\n", Percentile(latencies, 50));
  std::printf("f5_to_timer_p99_ms %.1f\n", Percentile(latencies, 99));
  std::printf("peak_working_set_kib %zu\n", PeakWorkingSetOf(process) / 1024);
  std::printf("private_bytes_kib %zu\n", PrivateBytesOf(process) / 1024);
  std::printf("handles %lu\n", HandleCountOf(process));

  WIN32_FILE_ATTRIBUTE_DATA file{};
  ::GetFileAttributesExW(ProgramPath().c_str(), GetFileExInfoStandard, &file);
  std::printf("binary_size_kib %lu\n", file.nFileSizeLow / 1024);
  return 0;
}

int Soak(int minutes) {
  ProgramSession program;
  if (!program.ok()) return 1;
  HANDLE process = program.process().handle();
  program.SetInterval(L"10");
  TargetWindow target(kTargetRect);
  target.TakeCursorAndFocus();
  std::printf("minute handles private_kib working_set_kib threads clicks worst_answer_ms\n");
  std::printf("%6d %7lu %11zu %15zu %7lu %6d %15s\n", 0, HandleCountOf(process), PrivateBytesOf(process) / 1024,
              WorkingSetOf(process) / 1024, ThreadCountOf(program.process().id()), 0, "-");
  PressKey(VK_F5);
  for (int minute = 1; minute <= minutes; ++minute) {
    double worstAnswerMs = 0;
    target.Clear();
    for (int second = 0; second < 60; ++second) {
      const std::int64_t asked = QpcNow();
      const bool answered = Responds(program.window(), 100ms);
      worstAnswerMs = std::max(worstAnswerMs, answered ? QpcToMs(QpcNow() - asked) : 1e9);
      PumpFor(std::chrono::milliseconds(1000 - static_cast<int>(std::min(QpcToMs(QpcNow() - asked), 999.0))));
    }
    std::printf("%6d %7lu %11zu %15zu %7lu %6zu %15.1f\n", minute, HandleCountOf(process),
                PrivateBytesOf(process) / 1024, WorkingSetOf(process) / 1024, ThreadCountOf(program.process().id()),
                target.Count(WM_LBUTTONDOWN), worstAnswerMs);
    std::fflush(stdout);
  }
  PressKey(VK_F5);
  return 0;
}

int Burst(int presses) {
  ProgramSession program;
  if (!program.ok()) return 1;
  HANDLE process = program.process().handle();
  TargetWindow target(kTargetRect);
  target.TakeCursorAndFocus();
  PumpFor(1s);
  const DWORD threads = ThreadCountOf(program.process().id());
  const DWORD handles = HandleCountOf(process);
  const SIZE_T privateBytes = PrivateBytesOf(process);
  double worstAnswerMs = 0;
  for (int i = 0; i < presses; ++i) {
    KeyDown(VK_F5);
    PumpFor(10ms);
    KeyUp(VK_F5);
    PumpFor(10ms);
    if (i % 25 == 0) {
      const std::int64_t asked = QpcNow();
      Responds(program.window(), 1000ms);
      worstAnswerMs = std::max(worstAnswerMs, QpcToMs(QpcNow() - asked));
    }
  }
  WaitUntil([&] { return ThreadCountOf(program.process().id()) <= threads; }, 5s);
  target.Clear();
  PumpFor(1500ms);
  std::printf("%d F5 presses every 20 ms; worst answer to WM_NULL %.1f ms\n", presses, worstAnswerMs);
  std::printf("threads  %lu -> %lu\n", threads, ThreadCountOf(program.process().id()));
  std::printf("handles  %lu -> %lu\n", handles, HandleCountOf(process));
  std::printf("private  %zu KiB -> %zu KiB\n", privateBytes / 1024, PrivateBytesOf(process) / 1024);
  std::printf("clicking at the end: %s\n", target.Count(WM_LBUTTONDOWN) > 0 ? "on" : "off");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "figures";
  const int amount = argc > 2 ? std::atoi(argv[2]) : 0;
  if (mode == "figures") return Figures(amount > 0 ? amount : 60);
  if (mode == "soak") return Soak(amount > 0 ? amount : 10);
  if (mode == "burst") return Burst(amount > 0 ? amount : 1000);
  std::fprintf(stderr, "usage: system_bench [figures [idleSeconds] | soak [minutes] | burst [presses]]\n");
  return 2;
}
