#pragma once
// A window described as data: the window's settings, one row per control, and the bindings of
// control events to routines. The toolkit builds whatever the tables say.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

namespace toolkit {

using ControlId = std::uint32_t;
using EventHandler = void (*)();

constexpr COLORREF Rgb(int red, int green, int blue) noexcept {
  return static_cast<COLORREF>(red | (green << 8) | (blue << 16));
}

struct Place {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// A font asked for by face name; an empty face means the system's default GUI font.
struct FontSpec {
  std::wstring_view face;
  int height = 0;
  int weight = FW_NORMAL;
};

// Kind-specific settings. Which alternative a row holds decides the control's kind.
struct LinkSpec {
  std::string_view address;  // UTF-8
  COLORREF normalText = Rgb(0, 0, 255);
  COLORREF visitedText = Rgb(128, 0, 0);
  COLORREF hoverText = Rgb(49, 106, 197);
};

struct FlatButtonLook {
  COLORREF text;
  COLORREF background;
};

struct FlatButtonSpec {
  FlatButtonLook normal;
  FlatButtonLook hot;      // mouse over it, or pressed
  FlatButtonLook focused;  // keyboard focus, mouse elsewhere
  std::wstring_view hint;
  int hintMaxWidth = 400;
};

struct LabelSpec {
  COLORREF text = Rgb(0, 0, 0);
};

struct EditSpec {
  bool rightAligned = false;
  // Typed characters from 32 up are dropped unless they are in this set; control characters
  // (Backspace among them) always pass. Empty: everything passes.
  std::wstring_view acceptedCharacters;
};

struct PushButtonSpec {
  FontSpec font;
};

struct TimerSpec {
  std::int32_t period = 0;
};

using ControlSpec = std::variant<LinkSpec, FlatButtonSpec, LabelSpec, EditSpec, PushButtonSpec, TimerSpec>;

struct ControlRow {
  std::string_view name;
  ControlId id;
  Place place;  // relative to the window's client area
  std::wstring_view text;
  bool tabStop;
  ControlSpec spec;
};

enum class Event { Created, Clicked, Periodic };

struct Binding {
  std::string_view source;  // a control's name, or the window's own
  Event event;
  EventHandler handler;
};

enum class StartPlace { Stored, CentredOnScreen };

struct WindowLayout {
  std::string_view name;
  ControlId layoutId;  // the layout's identifier
  ControlId id;        // the window addressed as a control
  std::wstring_view caption;
  Place stored;        // outer size and stored position
  StartPlace startPlace;
  bool toolWindow;     // small caption bar, no taskbar button, close button only
  bool topmost;
  bool visible;
  bool escapeCloses;
  std::span<const ControlRow> controls;
  std::span<const Binding> bindings;
};

}  // namespace toolkit
