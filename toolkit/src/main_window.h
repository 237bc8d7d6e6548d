#pragma once
// A top-level window built from a layout, with its controls.

#include <windows.h>

#include <memory>
#include <vector>

#include "control.h"
#include "toolkit/handles.h"

namespace toolkit::detail {

class MainWindow final : public Control {
 public:
  static constexpr const wchar_t* kClassName = L"ToolkitWindow";
  static void RegisterClass();

  explicit MainWindow(const WindowLayout& layout);
  // Creates the native window hidden at its start place; false when the system refuses.
  bool Create();
  void AddControl(Control* control) { controls_.push_back(control); }
  // Shows and activates the window and puts the focus on its first focusable control.
  void Show();
  void Destroy() { window_.reset(); }

  std::int32_t ReadInt(int number) override;
  void WriteInt(int number, std::int32_t value) override;
  void Bind(Event event, EventHandler handler) override;
  void RaiseCreated() { Raise(created_); }

  // Esc, Tab and Enter for the window and its controls; true when the key was used up here.
  bool HandleDialogKey(const MSG& message);

  void Attach(HWND window);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  [[nodiscard]] std::vector<HWND> TabOrder() const;
  void MoveFocus(bool backwards);

  const WindowLayout& layout_;
  WindowHandle window_;
  std::vector<Control*> controls_;  // owned by the registry, destroyed after this window
  HWND savedFocus_ = nullptr;
  EventHandler created_ = nullptr;
};

// Registry hooks used by the window and the message loop.
void OnWindowDestroyed(MainWindow* window);
bool PreTranslateMessage(const MSG& message);
void ReleaseWindows();
void RegisterControlClasses();

}  // namespace toolkit::detail
