#pragma once
// The toolkit's control kinds, one class each.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

#include "control.h"
#include "toolkit/handles.h"
#include "toolkit/window.h"

namespace toolkit::detail {

class TimerControl final : public Control {
 public:
  static constexpr const wchar_t* kClassName = L"ToolkitTimer";
  static void RegisterClass();
  TimerControl(const ControlRow& row, HWND parent);

  std::int32_t ReadInt(int number) override;
  void WriteInt(int number, std::int32_t value) override;
  void Bind(Event event, EventHandler handler) override;

  void Attach(HWND window);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  std::mutex periodMutex_;
  std::atomic<std::int32_t> period_{0};
  EventHandler periodic_ = nullptr;
};

class PushButton final : public Control {
 public:
  PushButton(const ControlRow& row, HWND parent, int childId);
  void Bind(Event event, EventHandler handler) override;
  void OnCommand(WORD notification) override;
  [[nodiscard]] bool TakesFocusByTab() const noexcept override { return tabStop_; }

 private:
  FontHandle font_;
  EventHandler clicked_ = nullptr;
  bool tabStop_ = false;
};

class EditBox final : public Control {
 public:
  EditBox(const ControlRow& row, HWND parent, int childId);
  ~EditBox() override;
  [[nodiscard]] bool TakesFocusByTab() const noexcept override { return tabStop_; }

 private:
  static LRESULT CALLBACK FilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR refData);
  std::wstring accepted_;
  bool tabStop_ = false;
};

class TransparentLabel final : public Control {
 public:
  static constexpr const wchar_t* kClassName = L"ToolkitTransparentLabel";
  static void RegisterClass();
  TransparentLabel(const ControlRow& row, HWND parent);

  void Attach(HWND window);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  COLORREF textColour_;
};

class Link final : public Control {
 public:
  static constexpr const wchar_t* kClassName = L"ToolkitLink";
  static void RegisterClass();
  Link(const ControlRow& row, HWND parent);

  void Attach(HWND window);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Open();
  [[nodiscard]] COLORREF TextColour() const noexcept;
  LinkSpec spec_;
  bool hover_ = false;
  bool visited_ = false;
};

class FlatButton final : public Control {
 public:
  static constexpr const wchar_t* kClassName = L"ToolkitFlatButton";
  static void RegisterClass();
  FlatButton(const ControlRow& row, HWND parent);
  void Bind(Event event, EventHandler handler) override;
  [[nodiscard]] bool TakesFocusByTab() const noexcept override { return tabStop_; }

  void Attach(HWND window);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void AddTooltip();
  void Paint(HDC dc) const;
  void SetPressed(bool pressed);
  [[nodiscard]] bool CursorInside() const;

  FlatButtonSpec spec_;
  WindowHandle tooltip_;
  std::wstring hintText_;
  EventHandler clicked_ = nullptr;
  bool tabStop_ = false;
  bool hot_ = false;
  bool pressed_ = false;
  bool tracking_ = false;
};

// Paints the parent's background under a child, for controls without a background of their own.
void PaintParentBackground(HWND child, HDC dc);

}  // namespace toolkit::detail
