#include "target_window.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "driver.h"

namespace driver {

namespace {
constexpr wchar_t kClassName[] = L"QuelbrinTestTarget";
constexpr int kTextBoxHeight = 24;
constexpr UINT_PTR kTextBoxSubclass = 1;

bool IsRecorded(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
    case WM_KEYDOWN: case WM_KEYUP:
      return true;
    default:
      return false;
  }
}
}  // namespace

TargetWindow::TargetWindow(RECT screenRect) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TargetWindow::WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  window_ = ::CreateWindowExW(WS_EX_TOPMOST, kClassName, L"Quelbrin test target", WS_POPUP | WS_BORDER | WS_VISIBLE,
                              screenRect.left, screenRect.top, screenRect.right - screenRect.left,
                              screenRect.bottom - screenRect.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
  RECT client{};
  ::GetClientRect(window_, &client);
  edit_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 0, 0, client.right,
                            kTextBoxHeight, window_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowSubclass(edit_, &TargetWindow::TextBoxProc, kTextBoxSubclass, reinterpret_cast<DWORD_PTR>(this));
  PumpFor(std::chrono::milliseconds(100));
}

TargetWindow::~TargetWindow() {
  if (edit_) ::RemoveWindowSubclass(edit_, &TargetWindow::TextBoxProc, kTextBoxSubclass);
  if (window_) ::DestroyWindow(window_);
}

POINT TargetWindow::ClickPoint() const {
  RECT rect{};
  ::GetWindowRect(window_, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + kTextBoxHeight + rect.bottom) / 2};
}

void TargetWindow::TakeCursorAndFocus() const {
  ::SetForegroundWindow(window_);
  ClickAt(Centre(ScreenRect(edit_)));
  MoveMouseTo(ClickPoint());
  PumpFor(std::chrono::milliseconds(100));
}

void TargetWindow::Note(UINT message, WPARAM wParam) { events_.push_back(InputEvent{message, wParam, QpcNow()}); }

std::vector<std::int64_t> TargetWindow::TimesOf(UINT message) const {
  std::vector<std::int64_t> times;
  for (const auto& event : events_) {
    if (event.message == message) times.push_back(event.qpc);
  }
  return times;
}

std::size_t TargetWindow::Count(UINT message) const {
  return static_cast<std::size_t>(
      std::count_if(events_.begin(), events_.end(), [&](const InputEvent& e) { return e.message == message; }));
}

std::size_t TargetWindow::KeyDownCount(WPARAM key) const {
  return static_cast<std::size_t>(std::count_if(events_.begin(), events_.end(), [&](const InputEvent& e) {
    return e.message == WM_KEYDOWN && e.wParam == key;
  }));
}

LRESULT CALLBACK TargetWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TargetWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TargetWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && IsRecorded(message)) self->Note(message, wParam);
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TargetWindow::TextBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR refData) {
  if (message == WM_KEYDOWN || message == WM_KEYUP) reinterpret_cast<TargetWindow*>(refData)->Note(message, wParam);
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace driver
