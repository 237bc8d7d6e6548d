// The single-line edit box: a system edit control whose typed characters pass a filter.

#include <windows.h>

#include <commctrl.h>

#include "control_kinds.h"
#include "toolkit/edit_filter.h"
#include "toolkit/handles.h"
#include "toolkit/text.h"

namespace toolkit::detail {

namespace {
constexpr UINT_PTR kFilterSubclassId = 1;

// The box must show one line of text in its font with its frame: never shorter than this.
int MinimumHeight(HWND edit) {
  WindowDc dc(edit);
  SelectScope font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(edit, WM_GETFONT, 0, 0)));
  SIZE size{};
  ::GetTextExtentPoint32W(dc.get(), L"吴", 1, &size);
  return size.cy + 2 * ::GetSystemMetrics(SM_CYEDGE);
}
}  // namespace

EditBox::EditBox(const ControlRow& row, HWND parent, int childId)
    : Control(row.name), accepted_(std::get<EditSpec>(row.spec).acceptedCharacters) {
  textProperty_ = property::kEditText;
  const auto& spec = std::get<EditSpec>(row.spec);
  hwnd_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", std::wstring(row.text).c_str(),
                            WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | (spec.rightAligned ? ES_RIGHT : ES_LEFT) |
                                (row.tabStop ? WS_TABSTOP : 0),
                            row.place.left, row.place.top, row.place.width, row.place.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), ::GetModuleHandleW(nullptr),
                            nullptr);
  ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), FALSE);
  const int minimum = MinimumHeight(hwnd_);
  if (row.place.height < minimum) {
    ::SetWindowPos(hwnd_, nullptr, 0, 0, row.place.width, minimum, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SendMessageW(hwnd_, EM_SETSEL, 0, 0);
  ::SetWindowSubclass(hwnd_, &EditBox::FilterProc, kFilterSubclassId, reinterpret_cast<DWORD_PTR>(this));
  tabStop_ = row.tabStop;
}

EditBox::~EditBox() {
  if (::IsWindow(hwnd_)) ::RemoveWindowSubclass(hwnd_, &EditBox::FilterProc, kFilterSubclassId);
}

LRESULT CALLBACK EditBox::FilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR refData) {
  const auto* self = reinterpret_cast<EditBox*>(refData);
  if (message == WM_CHAR && !FilterAccepts(self->accepted_, static_cast<wchar_t>(wParam))) return 0;
  if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, &EditBox::FilterProc, kFilterSubclassId);
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace toolkit::detail
