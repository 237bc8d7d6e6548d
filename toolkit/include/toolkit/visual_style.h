#pragma once
// Visual styles: colour schemes that the toolkit paints over the system's plain push buttons and
// edit boxes. A style belongs to the thread that applies it and covers every system push button
// and edit box of that thread, those that exist and those created later (a message box's buttons
// too). The toolkit's own control kinds draw themselves and are never restyled.

#include <windows.h>

namespace toolkit {

inline constexpr int kNoVisualStyle = 0;
inline constexpr int kBlueStyle = 1;
inline constexpr int kOliveGreenStyle = 2;
inline constexpr int kSilverStyle = 3;

struct VisualStylePalette {
  COLORREF buttonBorder;    // outer line of every enabled push button
  COLORREF faceTop;         // face gradient, top to bottom
  COLORREF faceBottom;
  COLORREF pressedTop;      // face gradient while pressed
  COLORREF pressedBottom;
  COLORREF hotFrame;        // inner frame while the mouse is over the button
  COLORREF focusFrame;      // inner frame of the focused or default button
  COLORREF text;
  COLORREF disabledBorder;
  COLORREF disabledFace;
  COLORREF disabledText;
  COLORREF editFrame;       // outer line of an edit box's client edge
};

// The palette of a style number; null for a number that is no style.
[[nodiscard]] const VisualStylePalette* VisualStylePaletteOf(int style) noexcept;

// Applies style 1 (blue), 2 (olive green) or 3 (silver) to the calling thread's push buttons and
// edit boxes and repaints them; any other number removes the style and gives the controls back
// their system look.
void ApplyVisualStyle(int style);

// The style in force on the calling thread, kNoVisualStyle when none.
[[nodiscard]] int AppliedVisualStyle() noexcept;

namespace detail {
// Lets go of the calling thread's style (hook and subclasses) without repainting, for the exit
// step, before the windows are taken down.
void ReleaseVisualStyle() noexcept;
}  // namespace detail

}  // namespace toolkit
