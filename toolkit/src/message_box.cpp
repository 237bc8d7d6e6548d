#include "toolkit/message_box.h"

#include "toolkit/text.h"

namespace toolkit {

int ShowMessageBox(std::string_view text, UINT style, std::optional<std::string_view> title) {
  // No owner; MB_TASKMODAL disables the thread's own windows while the box is up.
  return ::MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(title.value_or(kDefaultMessageBoxTitle)).c_str(),
                       style | MB_TASKMODAL);
}

}  // namespace toolkit
