// Paints the visual styles over the system's push buttons and edit boxes.
//
// A thread CBT hook sees every window the thread creates, so buttons and edit boxes made after a
// style is applied (a message box's buttons among them) are caught before their first message;
// those that exist already are found by enumeration. Each one is subclassed: a push button is
// painted entirely here, an edit box gets its client edge redrawn. Input, focus and notifications
// stay the system's own, so BN_CLICKED and typing behave exactly as without a style.
//
// Painting creates no GDI objects at all: solid colours go through the DC brush, the caption
// uses the button's own font, and every DC taken is given back by its scope owner.

#include "toolkit/visual_style.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "control.h"
#include "toolkit/handles.h"

namespace toolkit {

namespace {

constexpr std::array<VisualStylePalette, 3> kPalettes{{
    // Blue.
    {.buttonBorder = RGB(0, 60, 116),
     .faceTop = RGB(255, 255, 255),
     .faceBottom = RGB(212, 224, 244),
     .pressedTop = RGB(186, 204, 234),
     .pressedBottom = RGB(228, 236, 250),
     .hotFrame = RGB(255, 180, 64),
     .focusFrame = RGB(100, 148, 226),
     .text = RGB(0, 0, 0),
     .disabledBorder = RGB(196, 200, 212),
     .disabledFace = RGB(244, 245, 248),
     .disabledText = RGB(158, 162, 174),
     .editFrame = RGB(127, 157, 185)},
    // Olive green.
    {.buttonBorder = RGB(79, 104, 37),
     .faceTop = RGB(253, 253, 245),
     .faceBottom = RGB(221, 228, 196),
     .pressedTop = RGB(196, 208, 160),
     .pressedBottom = RGB(234, 238, 218),
     .hotFrame = RGB(186, 212, 96),
     .focusFrame = RGB(140, 170, 80),
     .text = RGB(0, 0, 0),
     .disabledBorder = RGB(190, 196, 170),
     .disabledFace = RGB(244, 245, 236),
     .disabledText = RGB(160, 164, 146),
     .editFrame = RGB(164, 185, 127)},
    // Silver.
    {.buttonBorder = RGB(94, 94, 112),
     .faceTop = RGB(255, 255, 255),
     .faceBottom = RGB(214, 214, 226),
     .pressedTop = RGB(190, 190, 206),
     .pressedBottom = RGB(232, 232, 240),
     .hotFrame = RGB(255, 196, 84),
     .focusFrame = RGB(150, 150, 180),
     .text = RGB(0, 0, 0),
     .disabledBorder = RGB(196, 196, 204),
     .disabledFace = RGB(243, 243, 246),
     .disabledText = RGB(160, 160, 170),
     .editFrame = RGB(165, 172, 178)},
}};

constexpr UINT_PTR kStyleSubclassId = 0x56535459;  // identifies this file's subclasses on a window
constexpr DWORD kButtonTypeMask = 0x0F;

// The style in force on one thread: its hook, the windows it has subclassed, and the button the
// mouse is over.
struct ThreadStyle {
  const VisualStylePalette* palette = nullptr;
  int style = kNoVisualStyle;
  HookHandle hook;
  std::vector<HWND> styled;
  HWND hot = nullptr;
};

// A plain pointer on purpose, not a thread_local owner: an owner's destructor would run while the
// thread or the process detaches, when comctl32 may already be gone. The style is let go
// explicitly, by ApplyVisualStyle with no style or by the toolkit's exit step.
thread_local ThreadStyle* t_style = nullptr;

bool HasClass(HWND window, const wchar_t* className) {
  wchar_t name[32]{};
  ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return ::lstrcmpiW(name, className) == 0;
}

// Check boxes, radio buttons, group boxes, owner-drawn buttons and buttons that show a picture
// instead of a caption keep the system's look.
bool IsPlainPushButton(DWORD style) {
  const DWORD type = style & kButtonTypeMask;
  return (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && !(style & (BS_BITMAP | BS_ICON));
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)); }

bool HasClientEdge(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0; }

bool OwnedByThisThread(HWND window) {
  return ::IsWindow(window) && ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps) {
  const auto channel = [&](int a, int b) { return steps <= 0 ? a : a + (b - a) * step / steps; };
  return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
             channel(GetBValue(from), GetBValue(to)));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

RECT Inset(RECT rect, int by) {
  ::InflateRect(&rect, -by, -by);
  return rect;
}

void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  const int rows = rect.bottom - rect.top;
  for (int row = 0; row < rows; ++row) {
    const RECT line{rect.left, rect.top + row, rect.right, rect.top + row + 1};
    FillSolid(dc, line, Blend(top, bottom, row, rows - 1));
  }
}

// ---------------------------------------------------------------------------------------------
// Push buttons

struct ButtonLook {
  bool enabled = true;
  bool pressed = false;
  bool focused = false;
  bool hot = false;
  bool isDefault = false;
  LRESULT uiState = 0;
  bool operator==(const ButtonLook&) const = default;
};

// Hot only while the mouse is really over the button and no other window holds the mouse: a
// button pressed and then dragged off shows its normal look, as the system's buttons do.
bool IsHot(const ThreadStyle& style, HWND button) {
  if (style.hot != button) return false;
  const HWND capture = ::GetCapture();
  if (capture && capture != button) return false;
  POINT cursor{};
  RECT rect{};
  return ::GetCursorPos(&cursor) && ::GetWindowRect(button, &rect) && ::PtInRect(&rect, cursor);
}

ButtonLook LookOf(const ThreadStyle& style, HWND button) {
  ButtonLook look;
  look.enabled = ::IsWindowEnabled(button) != FALSE;
  look.pressed = (::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  look.focused = ::GetFocus() == button;
  look.hot = IsHot(style, button);
  look.isDefault = (StyleOf(button) & kButtonTypeMask) == BS_DEFPUSHBUTTON;
  look.uiState = ::SendMessageW(button, WM_QUERYUISTATE, 0, 0);
  return look;
}

// The cut corners show what the parent paints behind its buttons.
void FillParentBackground(HWND button, HDC dc, const RECT& rect) {
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(button), WM_CTLCOLORBTN,
                                                       reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button)));
  ::FillRect(dc, &rect, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
}

void DrawCaption(HWND button, HDC dc, RECT area, const VisualStylePalette& palette, const ButtonLook& look) {
  const std::wstring caption = detail::WindowTextOf(button);
  if (caption.empty()) return;
  auto font = reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0));
  ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, look.enabled ? palette.text : palette.disabledText);
  if (look.pressed) ::OffsetRect(&area, 1, 1);

  UINT format = DT_CENTER;
  if (look.uiState & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
  if (!(StyleOf(button) & BS_MULTILINE)) {
    ::DrawTextW(dc, caption.c_str(), -1, &area, format | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  // Several lines are centred as a block.
  RECT measured = area;
  ::DrawTextW(dc, caption.c_str(), -1, &measured, format | DT_WORDBREAK | DT_CALCRECT);
  const int spare = (area.bottom - area.top) - (measured.bottom - measured.top);
  if (spare > 0) area.top += spare / 2;
  ::DrawTextW(dc, caption.c_str(), -1, &area, format | DT_WORDBREAK);
}

void PaintButton(HWND button, HDC dc, const ThreadStyle& style) {
  const VisualStylePalette& palette = *style.palette;
  const ButtonLook look = LookOf(style, button);
  SavedDcState saved(dc);
  RECT client{};
  ::GetClientRect(button, &client);
  FillParentBackground(button, dc, client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width < 4 || height < 4) return;

  // Face, then a one-pixel border with its corners cut and softened.
  const RECT face = Inset(client, 1);
  COLORREF border = palette.buttonBorder;
  COLORREF top = palette.faceTop;
  COLORREF bottom = palette.faceBottom;
  if (!look.enabled) {
    border = palette.disabledBorder;
    top = bottom = palette.disabledFace;
  } else if (look.pressed) {
    top = palette.pressedTop;
    bottom = palette.pressedBottom;
  }
  FillVerticalGradient(dc, face, top, bottom);
  FillSolid(dc, {client.left + 1, client.top, client.right - 1, client.top + 1}, border);
  FillSolid(dc, {client.left + 1, client.bottom - 1, client.right - 1, client.bottom}, border);
  FillSolid(dc, {client.left, client.top + 1, client.left + 1, client.bottom - 1}, border);
  FillSolid(dc, {client.right - 1, client.top + 1, client.right, client.bottom - 1}, border);
  ::SetPixelV(dc, face.left, face.top, Blend(border, top, 1, 2));
  ::SetPixelV(dc, face.right - 1, face.top, Blend(border, top, 1, 2));
  ::SetPixelV(dc, face.left, face.bottom - 1, Blend(border, bottom, 1, 2));
  ::SetPixelV(dc, face.right - 1, face.bottom - 1, Blend(border, bottom, 1, 2));

  if (look.enabled && !look.pressed) {
    if (look.hot) {
      FrameSolid(dc, face, palette.hotFrame);
      FrameSolid(dc, Inset(face, 1), Blend(palette.hotFrame, palette.faceTop, 1, 2));
    } else if (look.focused || look.isDefault) {
      FrameSolid(dc, face, palette.focusFrame);
    }
  }
  DrawCaption(button, dc, face, palette, look);
  if (look.focused && !(look.uiState & UISF_HIDEFOCUS) && width > 6 && height > 6) {
    const RECT focus = Inset(client, 3);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &focus);
  }
}

void Redraw(HWND window) {
  if (::IsWindowVisible(window)) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
  }
}

void Detach(ThreadStyle& style, HWND window);

// WM_MOUSELEAVE arrives once the mouse leaves the button, or at once if it is elsewhere already.
void TrackMouseLeave(HWND button) {
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
  ::TrackMouseEvent(&track);
}

// Messages after which the system button has drawn itself straight to the screen or has new
// content to show, and the end of the hot look (which the cursor's position no longer tells,
// since the mouse is gone already): the button is painted over at once.
bool AlwaysRepaintAfter(UINT message) {
  switch (message) {
    case WM_MOUSELEAVE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case WM_SYSCOLORCHANGE:
    case WM_STYLECHANGED:
    case BM_SETSTATE:
    case BM_SETSTYLE:
      return true;
    default:
      return false;
  }
}

// Messages that may change the look without the button saying so (press, release, hover).
bool MayChangeLook(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
    case BM_CLICK:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  ThreadStyle* style = t_style;
  if (message == WM_NCDESTROY) {
    if (style) Detach(*style, button);
    return ::DefSubclassProc(button, message, wParam, lParam);
  }
  // A button turned into a check box or a picture button by BM_SETSTYLE is the system's again.
  if (!style || !IsPlainPushButton(StyleOf(button))) return ::DefSubclassProc(button, message, wParam, lParam);

  switch (message) {
    case WM_PAINT:
      if (wParam) {
        PaintButton(button, reinterpret_cast<HDC>(wParam), *style);
      } else {
        PaintScope paint(button);
        PaintButton(button, paint.dc(), *style);
      }
      return 0;
    case WM_PRINTCLIENT:
      PaintButton(button, reinterpret_cast<HDC>(wParam), *style);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    default:
      break;
  }

  const bool repaints = AlwaysRepaintAfter(message);
  if (!repaints && !MayChangeLook(message)) return ::DefSubclassProc(button, message, wParam, lParam);

  const ButtonLook before = LookOf(*style, button);
  if (message == WM_MOUSEMOVE) {
    if (const HWND previous = std::exchange(style->hot, button); previous && previous != button &&
                                                                 OwnedByThisThread(previous)) {
      Redraw(previous);
    }
    TrackMouseLeave(button);
  } else if (message == WM_MOUSELEAVE && style->hot == button) {
    style->hot = nullptr;
  }
  const LRESULT result = ::DefSubclassProc(button, message, wParam, lParam);
  // The system's handling may have run a click handler that destroyed the button or changed the
  // style: look again instead of trusting what was read before.
  style = t_style;
  if (!style || !::IsWindow(button)) return result;
  // A press takes the mouse capture, and taking or releasing it ends the leave tracking: ask
  // again, so a mouse that leaves right after the click still ends the hot look.
  if (message == WM_CAPTURECHANGED && style->hot == button) TrackMouseLeave(button);
  if (repaints || LookOf(*style, button) != before) Redraw(button);
  return result;
}

// ---------------------------------------------------------------------------------------------
// Edit boxes

// One pixel of the scheme's colour outside, then the window colour up to the client area.
void PaintEditFrame(HWND edit, HDC dc, const VisualStylePalette& palette) {
  RECT window{};
  ::GetWindowRect(edit, &window);
  RECT frame{0, 0, window.right - window.left, window.bottom - window.top};
  // The client edge is as thick as the gap between the window's corner and its client area's.
  POINT clientOrigin{0, 0};
  ::ClientToScreen(edit, &clientOrigin);
  const int thickness = std::max<int>(1, std::min(clientOrigin.x - window.left, clientOrigin.y - window.top));
  SavedDcState saved(dc);
  FrameSolid(dc, frame, palette.editFrame);
  for (int ring = 1; ring < thickness; ++ring) {
    frame = Inset(frame, 1);
    ::FrameRect(dc, &frame, ::GetSysColorBrush(COLOR_WINDOW));
  }
}

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  ThreadStyle* style = t_style;
  switch (message) {
    case WM_NCDESTROY:
      if (style) Detach(*style, edit);
      break;
    case WM_NCPAINT:
      if (!style || !HasClientEdge(edit)) break;
      // Scroll bars live in the frame too and stay the system's to draw.
      if (StyleOf(edit) & (WS_HSCROLL | WS_VSCROLL)) ::DefSubclassProc(edit, message, wParam, lParam);
      PaintEditFrame(edit, WindowDc(edit, DcArea::WholeWindow).get(), *style->palette);
      return 0;
    case WM_PRINT: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      LRESULT result = 0;
      {
        // Some edit controls leave their client clip region on a DC they are given to paint in.
        SavedDcState clientPainting(dc);
        result = ::DefSubclassProc(edit, message, wParam, lParam);
      }
      style = t_style;
      const bool skipped = (lParam & PRF_CHECKVISIBLE) && !::IsWindowVisible(edit);
      if (style && dc && (lParam & PRF_NONCLIENT) && !skipped && HasClientEdge(edit)) {
        PaintEditFrame(edit, dc, *style->palette);
      }
      return result;
    }
    default:
      break;
  }
  return ::DefSubclassProc(edit, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Attaching and letting go

void RemoveSubclasses(HWND window) {
  ::RemoveWindowSubclass(window, &ButtonProc, kStyleSubclassId);
  ::RemoveWindowSubclass(window, &EditProc, kStyleSubclassId);
}

void Detach(ThreadStyle& style, HWND window) {
  RemoveSubclasses(window);
  std::erase(style.styled, window);
  if (style.hot == window) style.hot = nullptr;
}

// styleBits is the window style as created: at creation time it is the only reliable source.
void Attach(ThreadStyle& style, HWND window, DWORD styleBits) {
  SUBCLASSPROC proc = nullptr;
  if (HasClass(window, L"Button")) {
    if (IsPlainPushButton(styleBits)) proc = &ButtonProc;
  } else if (HasClass(window, L"Edit")) {
    proc = &EditProc;
  }
  if (!proc || std::ranges::find(style.styled, window) != style.styled.end()) return;
  if (::SetWindowSubclass(window, proc, kStyleSubclassId, 0)) style.styled.push_back(window);
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && t_style) {
    const auto* creation = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    Attach(*t_style, reinterpret_cast<HWND>(wParam), static_cast<DWORD>(creation->lpcs->style));
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK AttachChild(HWND child, LPARAM) {
  if (OwnedByThisThread(child)) Attach(*t_style, child, StyleOf(child));
  return TRUE;
}

// Top-level windows of the thread and all their descendants.
BOOL CALLBACK AttachTree(HWND topLevel, LPARAM) {
  Attach(*t_style, topLevel, StyleOf(topLevel));
  ::EnumChildWindows(topLevel, &AttachChild, 0);
  return TRUE;
}

// Takes the style off the thread's windows; returns those that were styled, for repainting.
std::vector<HWND> Release() noexcept {
  const std::unique_ptr<ThreadStyle> style(std::exchange(t_style, nullptr));
  if (!style) return {};
  style->hook.reset();
  for (HWND window : style->styled) {
    if (OwnedByThisThread(window)) RemoveSubclasses(window);
  }
  return std::move(style->styled);
}

void RepaintAll(const std::vector<HWND>& windows) {
  for (HWND window : windows) {
    if (OwnedByThisThread(window)) Redraw(window);
  }
}

}  // namespace

const VisualStylePalette* VisualStylePaletteOf(int style) noexcept {
  if (style < kBlueStyle || style > kSilverStyle) return nullptr;
  return &kPalettes[static_cast<std::size_t>(style - kBlueStyle)];
}

void ApplyVisualStyle(int style) {
  const VisualStylePalette* palette = VisualStylePaletteOf(style);
  if (!palette) {
    RepaintAll(Release());
    return;
  }
  if (!t_style) {
    t_style = new ThreadStyle;
    t_style->hook.reset(::SetWindowsHookExW(WH_CBT, &CreationHook, nullptr, ::GetCurrentThreadId()));
  }
  t_style->palette = palette;
  t_style->style = style;
  ::EnumThreadWindows(::GetCurrentThreadId(), &AttachTree, 0);
  // A copy: painting may run code that creates or destroys styled windows.
  RepaintAll(std::vector<HWND>(t_style->styled));
}

int AppliedVisualStyle() noexcept { return t_style ? t_style->style : kNoVisualStyle; }

namespace detail {
void ReleaseVisualStyle() noexcept { Release(); }
}  // namespace detail

}  // namespace toolkit
