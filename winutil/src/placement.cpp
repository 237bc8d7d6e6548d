#include "winutil/placement.h"

#include "toolkit/window.h"

void SetWindowBounds(HWND window, std::int32_t left, std::int32_t leftGiven, std::int32_t top, std::int32_t topGiven,
                     std::int32_t width, std::int32_t widthGiven, std::int32_t height, std::int32_t heightGiven) {
  RECT current{};  // stays all zero if the window cannot be asked
  ::GetWindowRect(window, &current);
  // MoveWindow places a child in its parent's client area, not on the screen: the place kept for
  // a value left out must be in the same terms, or a child would jump by its parent's offset.
  if (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) {
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&current), 2);
  }
  if (!leftGiven) left = current.left;
  if (!topGiven) top = current.top;
  if (!widthGiven) width = current.right - current.left;
  if (!heightGiven) height = current.bottom - current.top;
  ::MoveWindow(window, left, top, width, height, TRUE);
}

void OnMoveTopLeftClicked() { SetWindowBounds(toolkit::WindowHandleOf(kMainWindowName), 0, 1, 0, 1, 0, 0, 0, 0); }
