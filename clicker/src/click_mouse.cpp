#include "clicker/click_mouse.h"

#include "clicker/delay.h"

namespace {

struct ButtonFlags {
  DWORD press;
  DWORD release;
};

// Without a move flag the event carries no position: it happens where the cursor is.
void SendSystemMouseEvent(DWORD flags) { ::mouse_event(flags, 0, 0, 0, 0); }

void PauseForDoubleClickTime() { DelayPumping(static_cast<std::int32_t>(::GetDoubleClickTime())); }

bool FlagsOf(std::int32_t button, ButtonFlags& flags) noexcept {
  switch (button) {
    case 0:
    case kMouseLeft: flags = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}; return true;
    case kMouseMiddle: flags = {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}; return true;
    case kMouseRight: flags = {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}; return true;
    default: return false;
  }
}

}  // namespace

const MouseSink& SystemMouse() noexcept {
  static constexpr MouseSink kSystem{&SendSystemMouseEvent, &PauseForDoubleClickTime};
  return kSystem;
}

void ClickMouse(std::int32_t button, std::int32_t action, const MouseSink& sink) {
  ButtonFlags flags{};
  if (!FlagsOf(button, flags)) return;
  switch (action) {
    case 0:
    case kMouseClick:
      sink.event(flags.press);
      sink.event(flags.release);
      return;
    case kMouseDoubleClick:
      sink.event(flags.press);
      sink.event(flags.release);
      sink.pauseBetweenClicks();
      sink.event(flags.press);
      sink.event(flags.release);
      return;
    case kMousePress: sink.event(flags.press); return;
    case kMouseRelease: sink.event(flags.release); return;
    default: return;
  }
}
