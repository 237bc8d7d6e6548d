#include "control.h"

#include <string>

#include "toolkit/program.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

namespace toolkit::detail {

HFONT DefaultGuiFont() noexcept { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

std::int32_t Control::ReadInt(int number) {
  RECT rect{};
  ::GetWindowRect(hwnd_, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
  switch (number) {
    case property::kLeft: return rect.left;
    case property::kTop: return rect.top;
    case property::kWidth: return rect.right - rect.left;
    case property::kHeight: return rect.bottom - rect.top;
    case property::kVisible: return ::IsWindowVisible(hwnd_) ? 1 : 0;
    case property::kEnabled: return ::IsWindowEnabled(hwnd_) ? 1 : 0;
    default: NoSuchProperty(number);
  }
}

void Control::WriteInt(int number, std::int32_t value) {
  switch (number) {
    case property::kVisible: ::ShowWindow(hwnd_, value ? SW_SHOWNA : SW_HIDE); return;
    case property::kEnabled: ::EnableWindow(hwnd_, value ? TRUE : FALSE); return;
    default: break;
  }
  if (number < property::kLeft || number > property::kHeight) NoSuchProperty(number);
  std::int32_t place[4] = {ReadInt(property::kLeft), ReadInt(property::kTop), ReadInt(property::kWidth),
                           ReadInt(property::kHeight)};
  place[number] = value;
  ::MoveWindow(hwnd_, place[0], place[1], place[2], place[3], TRUE);
}

std::string Control::ReadText(int number) {
  if (number != textProperty_) NoSuchProperty(number);
  return WideToUtf8(WindowTextOf(hwnd_));
}

void Control::WriteText(int number, std::string_view text) {
  if (number != textProperty_) NoSuchProperty(number);
  ::SetWindowTextW(hwnd_, Utf8ToWide(text).c_str());
}
void Control::Bind(Event event, EventHandler) { NoSuchEvent(event); }

void Control::NoSuchProperty(int number) const {
  FatalError("组件“" + name_ + "”没有第 " + std::to_string(number) + " 号属性。");
}

void Control::NoSuchEvent(Event event) const {
  FatalError("组件“" + name_ + "”没有第 " + std::to_string(static_cast<int>(event)) + " 号事件。");
}

std::wstring WindowTextOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace toolkit::detail
