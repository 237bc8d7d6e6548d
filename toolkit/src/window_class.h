#pragma once
// One window procedure per window class: the object behind a window is handed over in
// CreateWindowEx's creation parameter, stored at WM_NCCREATE and let go at WM_NCDESTROY.

#include <windows.h>

namespace toolkit::detail {

// T provides: LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM) and void Attach(HWND).
template <typename T>
LRESULT CALLBACK ClassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  T* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->Attach(window);
  } else {
    self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = self->HandleMessage(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->Attach(nullptr);
  }
  return result;
}

template <typename T>
void RegisterWindowClass(const wchar_t* className, UINT classStyle, HCURSOR cursor, HBRUSH background,
                         HICON icon = nullptr) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = classStyle;
  wc.lpfnWndProc = &ClassWindowProc<T>;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.lpszClassName = className;
  ::RegisterClassExW(&wc);
}

}  // namespace toolkit::detail
