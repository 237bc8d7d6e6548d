#include "creation_handler.h"

#include "clicker/clicking.h"
#include "toolkit/window.h"
#include "winutil/placement.h"
#include "winutil/web_pages.h"

namespace app {

void OnMainWindowCreated() {
  OpenInBrowser(HomePageAddress());
  OpenInBrowser(ForumPageAddress());
  g_clickInterval = 500;
  // Placed before it is first shown, so the window is never seen at its centred start place.
  SetWindowBounds(toolkit::WindowHandleOf(kMainWindowName), 0, 1, 0, 1, 0, 0, 0, 0);
}

}  // namespace app
