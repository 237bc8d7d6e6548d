// How evenly the real program clicks: for each interval, Quelbrin.exe is started, the interval is
// typed and confirmed with Set, F5 starts clicking over a window of this program, a fixed number
// of clicks is collected and F5 stops it again. Prints figures; judges nothing.
//
//   click_cadence_bench                          10:100 50:60 100:40 500:16 (interval ms:clicks)
//   click_cadence_bench 20:50 250:10 ...         other intervals and counts

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "driver.h"
#include "target_window.h"

namespace {

using namespace driver;

// Away from the main window (top-left corner) and from the screen's centre, where boxes appear.
constexpr RECT kTargetRect{600, 80, 1000, 380};

struct Run {
  int intervalMs;
  int clicks;
};

constexpr Run kDefaultRuns[] = {{10, 100}, {50, 60}, {100, 40}, {500, 16}};

struct Figures {
  int intervalMs = 0;
  int wanted = 0;
  int received = 0;
  double meanPeriodMs = 0;
  double meanErrorMs = 0;
  double p50AbsErrorMs = 0;
  double p99AbsErrorMs = 0;
  double driftMs = 0;
  int clicksAfterStop = 0;
  std::string problem;  // empty when the run went through
};

// Nearest-rank percentile of values already sorted.
double Percentile(const std::vector<double>& sorted, double percent) {
  if (sorted.empty()) return 0;
  const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

void Summarise(const std::vector<std::int64_t>& clickTimes, Figures& figures) {
  figures.received = static_cast<int>(clickTimes.size());
  if (clickTimes.size() < 2) return;
  const double interval = figures.intervalMs;
  std::vector<double> periods;
  std::vector<double> absErrors;
  for (std::size_t i = 1; i < clickTimes.size(); ++i) {
    const double period = QpcToMs(clickTimes[i] - clickTimes[i - 1]);
    periods.push_back(period);
    absErrors.push_back(std::fabs(period - interval));
  }
  figures.meanPeriodMs = std::accumulate(periods.begin(), periods.end(), 0.0) / static_cast<double>(periods.size());
  figures.meanErrorMs = figures.meanPeriodMs - interval;
  std::sort(absErrors.begin(), absErrors.end());
  figures.p50AbsErrorMs = Percentile(absErrors, 50);
  figures.p99AbsErrorMs = Percentile(absErrors, 99);
  figures.driftMs =
      QpcToMs(clickTimes.back() - clickTimes.front()) - static_cast<double>(clickTimes.size() - 1) * interval;
}

// Types the interval into the edit box, presses Set and closes the confirmation with Enter.
bool SetInterval(DWORD processId, HWND window, int intervalMs) {
  HWND edit = FindChild(window, L"Edit", L"");
  HWND setButton = FindChild(window, L"Button", L"设置");
  if (!edit || !setButton) return false;
  ClickOn(edit);
  PressKey(VK_END, 40ms);
  PressWithModifiers({VK_SHIFT}, VK_HOME, 60ms);
  PressKey(VK_DELETE, 40ms);
  const std::wstring text = std::to_wstring(intervalMs);
  TypeText(text);
  if (!WaitUntil([&] { return TextOf(edit) == text; }, 3s)) return false;
  ClickOn(setButton);
  HWND box = WaitForWindowOfClass(processId, L"#32770", L"信息：", 10s);
  if (!box) return false;
  PressKey(VK_RETURN);
  return WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 5s) &&
         WaitUntil([&] { return ::IsWindowEnabled(window) != FALSE; }, 3s);
}

Figures Measure(const Run& run) {
  Figures figures;
  figures.intervalMs = run.intervalMs;
  figures.wanted = run.clicks;

  Process program = Process::Start(ProgramPath());
  HWND window = WaitForWindow(program.id(), kMainCaption);
  if (!window) {
    figures.problem = "no main window";
    return figures;
  }
  TargetWindow target(kTargetRect);
  if (!SetInterval(program.id(), window, run.intervalMs)) {
    figures.problem = "could not set the interval";
    return figures;
  }
  target.TakeCursorAndFocus();
  PumpFor(200ms);
  target.Clear();

  PressKey(VK_F5);
  const auto enough = std::chrono::milliseconds(static_cast<long long>(run.clicks) * run.intervalMs * 3) + 5s;
  WaitUntil([&] { return target.Count(WM_LBUTTONDOWN) >= static_cast<std::size_t>(run.clicks); }, enough);
  PressKey(VK_F5);
  const std::size_t atStop = target.Count(WM_LBUTTONDOWN);
  PumpFor(std::max<std::chrono::milliseconds>(std::chrono::milliseconds(run.intervalMs * 4), 500ms));
  // One click may already have been on its way when F5 went down.
  figures.clicksAfterStop = static_cast<int>(target.Count(WM_LBUTTONDOWN) - atStop);

  std::vector<std::int64_t> clicks = target.TimesOf(WM_LBUTTONDOWN);
  if (clicks.size() > static_cast<std::size_t>(run.clicks)) clicks.resize(static_cast<std::size_t>(run.clicks));
  Summarise(clicks, figures);
  if (figures.received < run.clicks) figures.problem = "too few clicks (is F5 registered?)";

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  program.WaitForExit(5s);
  return figures;
}

std::vector<Run> RunsFrom(int argc, char** argv) {
  std::vector<Run> runs;
  for (int i = 1; i < argc; ++i) {
    Run run{};
    if (std::sscanf(argv[i], "%d:%d", &run.intervalMs, &run.clicks) == 2 && run.intervalMs > 0 && run.clicks > 1) {
      runs.push_back(run);
    } else {
      std::fprintf(stderr, "ignored %s: expected interval:clicks, both positive, at least 2 clicks\n", argv[i]);
    }
  }
  if (runs.empty()) runs.assign(std::begin(kDefaultRuns), std::end(kDefaultRuns));
  return runs;
}

}  // namespace

int main(int argc, char** argv) {
  std::printf("click cadence of Quelbrin.exe (times in ms; errors are period minus interval)\n");
  std::printf("%8s %7s %11s %10s %9s %9s %9s %8s  %s\n", "interval", "clicks", "mean period", "mean error",
              "p50 |err|", "p99 |err|", "drift", "after F5", "note");
  std::fflush(stdout);
  int failures = 0;
  for (const Run& run : RunsFrom(argc, argv)) {
    const Figures f = Measure(run);
    std::printf("%8d %3d/%-3d %11.2f %+10.2f %9.2f %9.2f %+9.1f %8d  %s\n", f.intervalMs, f.received, f.wanted,
                f.meanPeriodMs, f.meanErrorMs, f.p50AbsErrorMs, f.p99AbsErrorMs, f.driftMs, f.clicksAfterStop,
                f.problem.c_str());
    std::fflush(stdout);
    failures += !f.problem.empty();
  }
  return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
