#include "winutil/always_on_top.h"

#include <string>

#include "toolkit/text.h"
#include "toolkit/window.h"
#include "winutil/placement.h"

bool PinPressPutsOnTop(std::string_view caption) noexcept { return toolkit::TextCompare(caption, kPinCaption) == 0; }

void OnPinToggleClicked() {
  const bool putOnTop = PinPressPutsOnTop(toolkit::ReadTextProperty(kPinButtonName, toolkit::property::kCaption));
  // The window's state first, then the caption that names the next press.
  toolkit::WriteIntProperty(kMainWindowName, toolkit::property::kWindowTopmost, putOnTop ? 1 : 0);
  toolkit::WriteTextProperty(kPinButtonName, toolkit::property::kCaption, putOnTop ? kUnpinCaption : kPinCaption);
}
