#include "creation_handler.h"

#include "clicker/clicking.h"
#include "hotkeys/hotkey_registration.h"
#include "toolkit/visual_style.h"
#include "toolkit/window.h"
#include "winutil/placement.h"
#include "winutil/web_pages.h"

namespace app {

namespace {
constexpr std::int32_t kToggleHotkeyCode = VK_F5;
}  // namespace

void OnMainWindowCreated() {
  toolkit::ApplyVisualStyle(2);
  OpenInBrowser(HomePageAddress());
  OpenInBrowser(ForumPageAddress());
  RegisterHotkey(&OnToggleHotkey, kToggleHotkeyCode);
  g_clickInterval = 500;
  // Placed before it is first shown, so the window is never seen at its centred start place.
  SetWindowBounds(toolkit::WindowHandleOf(kMainWindowName), 0, 1, 0, 1, 0, 0, 0, 0);
}

}  // namespace app
