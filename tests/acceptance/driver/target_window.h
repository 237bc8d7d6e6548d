#pragma once
// A window of the test process that lies under the cursor and notes, with their times, every
// mouse click and every key that reaches it or its text box.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace driver {

struct InputEvent {
  UINT message;        // WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, ..., WM_KEYDOWN, WM_KEYUP
  WPARAM wParam;       // the key for key messages
  std::int64_t qpc;    // QueryPerformanceCounter when it arrived
};

class TargetWindow {
 public:
  // A topmost window at the given screen rectangle, with a text box in its upper part.
  explicit TargetWindow(RECT screenRect);
  ~TargetWindow();
  TargetWindow(const TargetWindow&) = delete;
  TargetWindow& operator=(const TargetWindow&) = delete;

  [[nodiscard]] HWND hwnd() const { return window_; }
  [[nodiscard]] HWND textBox() const { return edit_; }
  // A point in the click area (below the text box), in screen coordinates.
  [[nodiscard]] POINT ClickPoint() const;
  // Puts the cursor on the click area and the keyboard focus in the text box.
  void TakeCursorAndFocus() const;

  [[nodiscard]] const std::vector<InputEvent>& events() const { return events_; }
  void Clear() { events_.clear(); }
  [[nodiscard]] std::vector<std::int64_t> TimesOf(UINT message) const;
  [[nodiscard]] std::size_t Count(UINT message) const;
  [[nodiscard]] std::size_t KeyDownCount(WPARAM key) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK TextBoxProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void Note(UINT message, WPARAM wParam);

  HWND window_ = nullptr;
  HWND edit_ = nullptr;
  std::vector<InputEvent> events_;
};

}  // namespace driver
