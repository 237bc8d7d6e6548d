// The system push button: caption in its own font, Clicked from BN_CLICKED.

#include "control_kinds.h"
#include "toolkit/text.h"

namespace toolkit::detail {

PushButton::PushButton(const ControlRow& row, HWND parent, int childId) : Control(row.name) {
  textProperty_ = property::kCaption;
  const auto& spec = std::get<PushButtonSpec>(row.spec);
  hwnd_ = ::CreateWindowExW(0, L"BUTTON", std::wstring(row.text).c_str(),
                            WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER |
                                (row.tabStop ? WS_TABSTOP : 0),
                            row.place.left, row.place.top, row.place.width, row.place.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), ::GetModuleHandleW(nullptr),
                            nullptr);
  if (!spec.font.face.empty()) {
    font_.reset(::CreateFontW(spec.font.height, 0, 0, 0, spec.font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH,
                              std::wstring(spec.font.face).c_str()));
  }
  ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_ ? font_.get() : DefaultGuiFont()), FALSE);
  tabStop_ = row.tabStop;
}

void PushButton::OnCommand(WORD notification) {
  if (notification == BN_CLICKED) Raise(clicked_);
}

void PushButton::Bind(Event event, EventHandler handler) {
  if (event != Event::Clicked) NoSuchEvent(event);
  clicked_ = handler;
}

}  // namespace toolkit::detail
