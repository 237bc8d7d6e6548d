#pragma once
// Colours on the screen, read from a GDI capture, as a person would see them.

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

class ScreenCapture {
 public:
  explicit ScreenCapture(const RECT& screenRect);
  // Whether the text on the captured area is drawn in this colour. Smoothed text has few or no
  // pixels of the pure colour: its pixels are the colour blended over the background to some
  // degree. So the background is taken as the commonest colour, and every pixel that stands out
  // from it must lie between it and the colour, channel by channel, with the strongest going a
  // good part of the way; at least a few such pixels must be there.
  [[nodiscard]] bool ShowsTextIn(COLORREF colour) const;
  // The commonest colour of the area: the background of whatever is drawn on it.
  [[nodiscard]] COLORREF Background() const;
  // The distinct colours, most frequent first, for failure messages.
  [[nodiscard]] std::string Describe() const;

 private:
  std::vector<COLORREF> pixels_;
};

}  // namespace driver
