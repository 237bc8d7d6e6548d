#pragma once
// The toolkit's inner view of a control: its name, its native window and its properties.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/layout.h"

namespace toolkit::detail {

class Control {
 public:
  explicit Control(std::string_view name) : name_(name) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  [[nodiscard]] const std::string& name() const noexcept { return name_; }
  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }

  // Properties by number; a number the kind does not have is a fatal error. A kind has at most
  // one text property, its window text (a caption, or an edit box's contents).
  virtual std::int32_t ReadInt(int number);
  virtual void WriteInt(int number, std::int32_t value);
  std::string ReadText(int number);
  void WriteText(int number, std::string_view text);

  // Binds a routine to one of the control's events; an event the kind lacks is a fatal error.
  virtual void Bind(Event event, EventHandler handler);

  // Notifications that a system control sends to its parent (WM_COMMAND).
  virtual void OnCommand(WORD /*notification*/) {}

  [[nodiscard]] virtual bool TakesFocusByTab() const noexcept { return false; }

 protected:
  [[noreturn]] void NoSuchProperty(int number) const;
  [[noreturn]] void NoSuchEvent(Event event) const;
  static void Raise(EventHandler handler) {
    if (handler) handler();
  }
  std::string name_;
  int textProperty_ = -1;  // the number of the window text; -1: the kind has no text property
  HWND hwnd_ = nullptr;    // a child window: its parent owns and destroys it
};

// Builds one control of a layout row as a child of the given window.
std::unique_ptr<Control> CreateControl(const ControlRow& row, HWND parent, int childId);

HFONT DefaultGuiFont() noexcept;

// A window's text as the system holds it.
std::wstring WindowTextOf(HWND window);

}  // namespace toolkit::detail
