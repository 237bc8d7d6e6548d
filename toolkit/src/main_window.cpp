#include "main_window.h"

#include <algorithm>

#include "toolkit/text.h"
#include "toolkit/window.h"
#include "window_class.h"

namespace toolkit::detail {

namespace {
bool ModifierHeld() {
  return (::GetKeyState(VK_CONTROL) | ::GetKeyState(VK_MENU) | ::GetKeyState(VK_SHIFT)) < 0;
}
}  // namespace

void MainWindow::RegisterClass() {
  // The application icon is resource 1 of the program's file, if it has one.
  HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  RegisterWindowClass<MainWindow>(kClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                                  reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), icon);
}

MainWindow::MainWindow(const WindowLayout& layout) : Control(layout.name), layout_(layout) {
  textProperty_ = property::kCaption;
}

bool MainWindow::Create() {
  int left = layout_.stored.left;
  int top = layout_.stored.top;
  if (layout_.startPlace == StartPlace::CentredOnScreen) {
    left = (::GetSystemMetrics(SM_CXSCREEN) - layout_.stored.width) / 2;
    top = (::GetSystemMetrics(SM_CYSCREEN) - layout_.stored.height) / 2;
  }
  const DWORD exStyle = (layout_.toolWindow ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW) |
                        (layout_.topmost ? WS_EX_TOPMOST : 0) | WS_EX_CONTROLPARENT;
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (layout_.toolWindow ? 0 : WS_MINIMIZEBOX);
  window_.reset(::CreateWindowExW(exStyle, kClassName, std::wstring(layout_.caption).c_str(), style, left, top,
                                  layout_.stored.width, layout_.stored.height, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), this));
  return static_cast<bool>(window_);
}

void MainWindow::Attach(HWND window) { hwnd_ = window; }

void MainWindow::Show() {
  ::ShowWindow(hwnd_, SW_SHOWNORMAL);
  ::SetForegroundWindow(hwnd_);
  const auto order = TabOrder();
  if (!order.empty()) ::SetFocus(order.front());
  ::UpdateWindow(hwnd_);
}

// Tab goes through the visible, enabled controls that take the focus, from left to right.
std::vector<HWND> MainWindow::TabOrder() const {
  std::vector<std::pair<int, HWND>> placed;
  for (const Control* control : controls_) {
    HWND child = control->hwnd();
    if (!control->TakesFocusByTab() || !::IsWindowVisible(child) || !::IsWindowEnabled(child)) continue;
    RECT rect{};
    ::GetWindowRect(child, &rect);
    placed.emplace_back(rect.left, child);
  }
  std::stable_sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<HWND> order;
  for (const auto& [left, child] : placed) order.push_back(child);
  return order;
}

void MainWindow::MoveFocus(bool backwards) {
  const auto order = TabOrder();
  if (order.empty()) return;
  const auto current = std::find(order.begin(), order.end(), ::GetFocus());
  std::size_t index = 0;
  if (current != order.end()) {
    const std::size_t at = static_cast<std::size_t>(current - order.begin());
    index = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  } else if (backwards) {
    index = order.size() - 1;
  }
  HWND next = order[index];
  ::SetFocus(next);
  wchar_t className[16]{};
  ::GetClassNameW(next, className, 16);
  if (::lstrcmpiW(className, L"Edit") == 0) ::SendMessageW(next, EM_SETSEL, 0, -1);
}

bool MainWindow::HandleDialogKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  switch (message.wParam) {
    case VK_ESCAPE:
      if (!layout_.escapeCloses || ModifierHeld()) return false;
      ::SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_TAB:
      if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
      MoveFocus(::GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN:
      return true;  // Enter has no meaning in this window
    default:
      return false;
  }
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lParam);
      for (Control* control : controls_) {
        if (child && control->hwnd() == child) {
          control->OnCommand(HIWORD(wParam));
          break;
        }
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(window, focus)) savedFocus_ = focus;
      } else if (savedFocus_ && ::IsWindow(savedFocus_)) {
        ::SetFocus(savedFocus_);
        return 0;
      }
      break;
    case WM_DESTROY:
      OnWindowDestroyed(this);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

std::int32_t MainWindow::ReadInt(int number) {
  if (number == property::kWindowTopmost) return (::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0;
  return Control::ReadInt(number);
}

void MainWindow::WriteInt(int number, std::int32_t value) {
  if (number != property::kWindowTopmost) return Control::WriteInt(number, value);
  ::SetWindowPos(hwnd_, value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::Bind(Event event, EventHandler handler) {
  if (event != Event::Created) NoSuchEvent(event);
  created_ = handler;
}

}  // namespace toolkit::detail
