// The link: a caption that opens its address with the shell's default handler when clicked.

#include "control_kinds.h"

#include <shellapi.h>
#include "toolkit/handles.h"
#include "toolkit/text.h"
#include "window_class.h"

namespace toolkit::detail {

Link::Link(const ControlRow& row, HWND parent) : Control(row.name), spec_(std::get<LinkSpec>(row.spec)) {
  textProperty_ = property::kCaption;
  ::CreateWindowExW(0, kClassName, std::wstring(row.text).c_str(), WS_CHILD | WS_VISIBLE, row.place.left,
                    row.place.top, row.place.width, row.place.height, parent, nullptr, ::GetModuleHandleW(nullptr),
                    this);
}

void Link::RegisterClass() {
  // CS_DBLCLKS: the second press of a double click arrives as WM_LBUTTONDBLCLK and is ignored.
  RegisterWindowClass<Link>(kClassName, CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_HAND), nullptr);
}

void Link::Attach(HWND window) { hwnd_ = window; }

COLORREF Link::TextColour() const noexcept {
  if (hover_) return spec_.hoverText;
  return visited_ ? spec_.visitedText : spec_.normalText;
}

void Link::Open() {
  bool opened = false;
  if (!spec_.address.empty()) {
    const std::wstring address = Utf8ToWide(spec_.address);
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW));
    opened = result > 32;
  }
  visited_ = opened;
  if (opened) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT Link::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: Open(); return 0;
    case WM_LBUTTONDBLCLK: return 0;
    case WM_MOUSEMOVE:
      if (!hover_) {
        hover_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        ::TrackMouseEvent(&track);
        ::InvalidateRect(window, nullptr, TRUE);
      }
      return 0;
    case WM_MOUSELEAVE:
      hover_ = false;
      ::InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
      ::InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintScope paint(window);
      RECT client{};
      ::GetClientRect(window, &client);
      ::FillRect(paint.dc(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
      std::wstring text = WindowTextOf(window);
      if (text.empty()) text = Utf8ToWide(spec_.address);
      SelectScope font(paint.dc(), DefaultGuiFont());
      ::SetBkMode(paint.dc(), TRANSPARENT);
      ::SetTextColor(paint.dc(), TextColour());
      ::DrawTextW(paint.dc(), text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      return 0;
    }
    default: return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace toolkit::detail
