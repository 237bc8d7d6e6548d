// The transparent label: no background of its own; the parent's background is painted under
// the text, so whatever the parent shows there shows through.

#include "control_kinds.h"
#include "toolkit/handles.h"
#include "toolkit/text.h"
#include "window_class.h"

namespace toolkit::detail {

void PaintParentBackground(HWND child, HDC dc) {
  HWND parent = ::GetParent(child);
  POINT origin{0, 0};
  ::MapWindowPoints(child, parent, &origin, 1);
  POINT old{};
  ::SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

TransparentLabel::TransparentLabel(const ControlRow& row, HWND parent)
    : Control(row.name), textColour_(std::get<LabelSpec>(row.spec).text) {
  textProperty_ = property::kCaption;
  ::CreateWindowExW(WS_EX_TRANSPARENT, kClassName, std::wstring(row.text).c_str(), WS_CHILD | WS_VISIBLE,
                    row.place.left, row.place.top, row.place.width, row.place.height, parent, nullptr,
                    ::GetModuleHandleW(nullptr), this);
}

void TransparentLabel::RegisterClass() {
  RegisterWindowClass<TransparentLabel>(kClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
}

void TransparentLabel::Attach(HWND window) { hwnd_ = window; }

LRESULT TransparentLabel::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintScope paint(window);
      PaintParentBackground(window, paint.dc());
      RECT client{};
      ::GetClientRect(window, &client);
      std::wstring text = WindowTextOf(window);
      SelectScope font(paint.dc(), DefaultGuiFont());
      ::SetBkMode(paint.dc(), TRANSPARENT);
      ::SetTextColor(paint.dc(), textColour_);
      ::DrawTextW(paint.dc(), text.c_str(), -1, &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      return 0;
    }
    case WM_SETTEXT: {
      const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
      ::InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    default: return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace toolkit::detail
