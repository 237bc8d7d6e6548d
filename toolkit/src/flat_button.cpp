// The flat hover button: draws itself flat in its normal look, lights up under the mouse, sinks
// while pressed, and shows its hint as a tooltip.

#include <windows.h>

#include <commctrl.h>

#include "control_kinds.h"
#include "toolkit/handles.h"
#include "toolkit/text.h"
#include "window_class.h"

namespace toolkit::detail {

FlatButton::FlatButton(const ControlRow& row, HWND parent) : Control(row.name), spec_(std::get<FlatButtonSpec>(row.spec)) {
  textProperty_ = property::kCaption;
  tabStop_ = row.tabStop;
  ::CreateWindowExW(0, kClassName, std::wstring(row.text).c_str(),
                    WS_CHILD | WS_VISIBLE | (row.tabStop ? WS_TABSTOP : 0), row.place.left, row.place.top,
                    row.place.width, row.place.height, parent, nullptr, ::GetModuleHandleW(nullptr), this);
  if (!spec_.hint.empty()) AddTooltip();
}

void FlatButton::RegisterClass() {
  RegisterWindowClass<FlatButton>(kClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
}

void FlatButton::Attach(HWND window) { hwnd_ = window; }

void FlatButton::AddTooltip() {
  // Without an owner: a window that owns a topmost popup cannot always be put back on top once
  // it has been taken off (seen under Wine). The tooltip_ owner destroys it with the button.
  tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr));
  if (!tooltip_) return;
  hintText_ = std::wstring(spec_.hint);
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool.lpszText = hintText_.data();
  ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, spec_.hintMaxWidth);
}

bool FlatButton::CursorInside() const {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(hwnd_, &cursor);
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  return ::PtInRect(&client, cursor) != FALSE;
}

void FlatButton::SetPressed(bool pressed) {
  if (pressed_ == pressed) return;
  pressed_ = pressed;
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void FlatButton::Paint(HDC dc) const {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const bool lit = hot_ || pressed_;
  const bool focused = ::GetFocus() == hwnd_;
  const FlatButtonLook look = lit ? spec_.hot : (focused ? spec_.focused : spec_.normal);

  BrushHandle background(::CreateSolidBrush(look.background));
  ::FillRect(dc, &client, background.get());
  if (lit) ::DrawEdge(dc, &client, pressed_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);

  std::wstring text = WindowTextOf(hwnd_);

  SelectScope font(dc, DefaultGuiFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, look.text);
  RECT area = client;
  if (pressed_) ::OffsetRect(&area, 1, 1);
  // One centred line when the caption fits, else wrapped and centred as a block.
  RECT measured = area;
  ::DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  if (measured.right - measured.left <= area.right - area.left) {
    ::DrawTextW(dc, text.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    measured = area;
    ::DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const int offset = ((area.bottom - area.top) - (measured.bottom - measured.top)) / 2;
    area.top += offset > 0 ? offset : 0;
    ::DrawTextW(dc, text.c_str(), -1, &area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  }
}

LRESULT FlatButton::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (tracking_) {
        SetPressed(CursorInside());
      } else if (!hot_ && !(wParam & MK_LBUTTON)) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        ::TrackMouseEvent(&track);
        ::InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSELEAVE:
      hot_ = false;
      ::InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ::SetFocus(window);
      ::SetCapture(window);
      tracking_ = true;
      SetPressed(true);
      return 0;
    case WM_LBUTTONUP:
      if (tracking_) {
        const bool click = pressed_;
        ::ReleaseCapture();  // WM_CAPTURECHANGED ends the tracking
        if (click) Raise(clicked_);
      }
      return 0;
    case WM_CAPTURECHANGED:
      tracking_ = false;
      SetPressed(false);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && !(lParam & (1 << 30))) SetPressed(true);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && pressed_ && !tracking_) {
        SetPressed(false);
        Raise(clicked_);
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (message == WM_KILLFOCUS && !tracking_) SetPressed(false);
      ::InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_SETTEXT: {
      const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
      ::InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintScope paint(window);
      Paint(paint.dc());
      return 0;
    }
    default: return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

void FlatButton::Bind(Event event, EventHandler handler) {
  if (event != Event::Clicked) NoSuchEvent(event);
  clicked_ = handler;
}

}  // namespace toolkit::detail
