#include "toolkit/message_loop.h"

#include <windows.h>

#include "main_window.h"
#include "toolkit/window.h"

namespace toolkit {

namespace {
void Dispatch(MSG& message) {
  if (detail::PreTranslateMessage(message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}
}  // namespace

int RunMessageLoop() {
  if (!AnyWindowLeft()) return 0;
  MSG message{};
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got < 0) return 0;
    Dispatch(message);
  }
}

void ProcessEvents() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (message.message == WM_QUIT) return;
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return;
    if (message.message == WM_QUIT) {  // arrived between the two looks: leave it queued
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

}  // namespace toolkit
