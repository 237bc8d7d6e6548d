#include "screen_colours.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <map>

namespace driver {

namespace {

class ScreenDc {
 public:
  ScreenDc() : dc_(::GetDC(nullptr)) {}
  ~ScreenDc() { ::ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  [[nodiscard]] HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(::CreateCompatibleDC(like)) {}
  ~MemoryDc() { ::DeleteDC(dc_); }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  [[nodiscard]] HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class Bitmap {
 public:
  Bitmap(HDC like, int width, int height) : bitmap_(::CreateCompatibleBitmap(like, width, height)) {}
  ~Bitmap() { ::DeleteObject(bitmap_); }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  [[nodiscard]] HBITMAP get() const { return bitmap_; }

 private:
  HBITMAP bitmap_;
};

}  // namespace

ScreenCapture::ScreenCapture(const RECT& screenRect) {
  const int width = screenRect.right - screenRect.left;
  const int height = screenRect.bottom - screenRect.top;
  if (width <= 0 || height <= 0) return;
  ScreenDc screen;
  MemoryDc memory(screen.get());
  Bitmap bitmap(screen.get(), width, height);
  const HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
  ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), screenRect.left, screenRect.top, SRCCOPY);
  ::SelectObject(memory.get(), old);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> bgra(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  if (!::GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), bgra.data(), &info, DIB_RGB_COLORS)) {
    return;
  }
  pixels_.reserve(bgra.size());
  for (const DWORD pixel : bgra) {
    pixels_.push_back(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
  }
}

namespace {

// Differences of one pixel from the background that count as text, and the slack allowed for
// rounding in the blending.
constexpr int kFaint = 24;
constexpr int kSlack = 8;
constexpr std::size_t kFewestTextPixels = 3;
constexpr double kStrongestShare = 0.35;

struct Channels {
  int c[3];
};

Channels Difference(COLORREF colour, COLORREF from) {
  return {{GetRValue(colour) - GetRValue(from), GetGValue(colour) - GetGValue(from),
           GetBValue(colour) - GetBValue(from)}};
}

int Sum(const Channels& d) { return std::abs(d.c[0]) + std::abs(d.c[1]) + std::abs(d.c[2]); }
int Largest(const Channels& d) { return std::max({std::abs(d.c[0]), std::abs(d.c[1]), std::abs(d.c[2])}); }

// Whether each channel of the pixel lies between the background's and the text colour's.
bool Between(const Channels& pixel, const Channels& full) {
  for (int i = 0; i < 3; ++i) {
    const int lowest = std::min(0, full.c[i]) - kSlack;
    const int highest = std::max(0, full.c[i]) + kSlack;
    if (pixel.c[i] < lowest || pixel.c[i] > highest) return false;
  }
  return true;
}

COLORREF Commonest(const std::vector<COLORREF>& pixels) {
  std::map<COLORREF, std::size_t> counts;
  for (const COLORREF pixel : pixels) ++counts[pixel];
  const auto most = std::max_element(counts.begin(), counts.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
  return most == counts.end() ? CLR_INVALID : most->first;
}

}  // namespace

bool ScreenCapture::ShowsTextIn(COLORREF colour) const {
  const COLORREF background = Commonest(pixels_);
  const Channels full = Difference(colour, background);
  if (background == CLR_INVALID || Sum(full) == 0) return false;
  std::size_t textPixels = 0;
  double strongest = 0.0;
  for (const COLORREF pixel : pixels_) {
    const Channels d = Difference(pixel, background);
    if (Largest(d) <= kFaint) continue;
    if (!Between(d, full)) return false;
    ++textPixels;
    strongest = std::max(strongest, static_cast<double>(Sum(d)) / Sum(full));
  }
  return textPixels >= kFewestTextPixels && strongest >= kStrongestShare;
}

COLORREF ScreenCapture::Background() const { return Commonest(pixels_); }

std::string ScreenCapture::Describe() const {
  std::map<COLORREF, std::size_t> counts;
  for (const COLORREF pixel : pixels_) ++counts[pixel];
  std::vector<std::pair<std::size_t, COLORREF>> ranked;
  for (const auto& [colour, count] : counts) ranked.emplace_back(count, colour);
  std::sort(ranked.rbegin(), ranked.rend());
  std::string text = std::to_string(pixels_.size()) + " pixels:";
  for (std::size_t i = 0; i < ranked.size() && i < 8; ++i) {
    char item[48];
    std::snprintf(item, sizeof(item), " RGB(%u,%u,%u)x%zu", GetRValue(ranked[i].second), GetGValue(ranked[i].second),
                  GetBValue(ranked[i].second), ranked[i].first);
    text += item;
  }
  return text;
}

}  // namespace driver
