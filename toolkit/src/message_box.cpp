#include "toolkit/message_box.h"

#include "toolkit/text.h"

namespace toolkit {

int ShowMessageBox(std::string_view text, UINT style, std::optional<std::string_view> title) {
  // No owner; MB_TASKMODAL disables the thread's own windows while the box is up. A box without
  // owner hands the activation to nobody in particular when it closes: give it back.
  HWND active = ::GetActiveWindow();
  const int button = ::MessageBoxW(nullptr, Utf8ToWide(text).c_str(),
                                   Utf8ToWide(title.value_or(kDefaultMessageBoxTitle)).c_str(), style | MB_TASKMODAL);
  if (active && ::IsWindow(active) && ::IsWindowEnabled(active)) ::SetActiveWindow(active);
  return button;
}

}  // namespace toolkit
