// The main window as the user sees it: the real program's window is photographed from the screen,
// kept as quelbrin-window.bmp among the test artifacts, and its olive-green look is read back
// from the picture.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"

namespace {

using namespace driver;

constexpr COLORREF kOliveEditFrame = RGB(164, 185, 127);
// The olive-green scheme's push-button border: the Set button's left edge is drawn in it.
constexpr COLORREF kOliveButtonBorder = RGB(79, 104, 37);
constexpr int kMargin = 8;

struct ScreenDcRelease {
  void operator()(HDC dc) const { ::ReleaseDC(nullptr, dc); }
};
struct MemoryDcDelete {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct GdiObjectDelete {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
using ScreenDc = std::unique_ptr<HDC__, ScreenDcRelease>;
using MemoryDc = std::unique_ptr<HDC__, MemoryDcDelete>;
using GdiObject = std::unique_ptr<void, GdiObjectDelete>;

// A 24-bit bottom-up picture of part of the screen, in the layout a BMP file stores.
class Screenshot {
 public:
  explicit Screenshot(const RECT& area)
      : left_(area.left), top_(area.top), width_(area.right - area.left), height_(area.bottom - area.top) {
    stride_ = (width_ * 3 + 3) & ~3;
    bits_.assign(static_cast<std::size_t>(stride_ * height_), 0);
    const ScreenDc screen(::GetDC(nullptr));
    const MemoryDc memory(::CreateCompatibleDC(screen.get()));
    const BITMAPINFO info = Info();
    void* bits = nullptr;
    const GdiObject bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits) return;
    const HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width_, height_, screen.get(), left_, top_, SRCCOPY);
    ::GdiFlush();
    std::copy_n(static_cast<const std::uint8_t*>(bits), bits_.size(), bits_.begin());
    ::SelectObject(memory.get(), old);
  }

  // The colour at a point given in screen coordinates.
  [[nodiscard]] COLORREF AtScreen(POINT point) const {
    const int x = point.x - left_;
    const int y = point.y - top_;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const std::uint8_t* pixel = &bits_[static_cast<std::size_t>((height_ - 1 - y) * stride_ + x * 3)];
    return RGB(pixel[2], pixel[1], pixel[0]);
  }

  [[nodiscard]] bool SaveBmp(const std::filesystem::path& path) const {
    const BITMAPINFO info = Info();
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits_.size());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    out.write(reinterpret_cast<const char*>(bits_.data()), static_cast<std::streamsize>(bits_.size()));
    return static_cast<bool>(out);
  }

 private:
  [[nodiscard]] BITMAPINFO Info() const {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, height_, 1, 24, BI_RGB,
                      static_cast<DWORD>(stride_ * height_), 2835, 2835, 0, 0};
    return info;
  }

  int left_;
  int top_;
  int width_;
  int height_;
  int stride_ = 0;
  std::vector<std::uint8_t> bits_;
};

std::string Describe(COLORREF colour) {
  if (colour == CLR_INVALID) return "outside the picture";
  return "RGB(" + std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) + "," +
         std::to_string(GetBValue(colour)) + ")";
}

// Middles of a window's four outermost edges, and the same one pixel further in.
struct EdgePoints {
  std::vector<POINT> outer;
  std::vector<POINT> inner;
};

EdgePoints EdgesOf(const RECT& r) {
  const LONG midX = (r.left + r.right) / 2;
  const LONG midY = (r.top + r.bottom) / 2;
  return {{{r.left, midY}, {r.right - 1, midY}, {midX, r.top}, {midX, r.bottom - 1}},
          {{r.left + 1, midY}, {r.right - 2, midY}, {midX, r.top + 1}, {midX, r.bottom - 2}}};
}

TEST(ScreenshotTest, MainWindowIsDrawnInOliveGreenAndKeptAsABitmap) {
  MoveMouseTo({900, 700});  // off the window: no button may show its hot look in the picture
  Process program = Process::Start(ProgramPath());
  ASSERT_TRUE(program.Running()) << "the program did not start";
  HWND window = WaitForWindow(program.id(), kMainCaption);
  ASSERT_NE(window, nullptr) << "no main window appeared";
  ASSERT_TRUE(WaitUntil(
      [&] {
        const RECT r = ScreenRect(window);
        return r.left == 0 && r.top == 0;
      },
      5s))
      << "the window is not at the screen's top-left corner";
  HWND edit = FindChild(window, L"Edit", L"");
  HWND setButton = FindChild(window, L"Button", L"设置");
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(setButton, nullptr);

  RECT area = ScreenRect(window);
  area = {std::max(0L, area.left - kMargin), std::max(0L, area.top - kMargin), area.right + kMargin,
          area.bottom + kMargin};
  const EdgePoints editEdges = EdgesOf(ScreenRect(edit));
  // Painting follows the showing: wait for the frame before keeping the picture.
  Screenshot shot(area);
  WaitUntil(
      [&] {
        shot = Screenshot(area);
        return shot.AtScreen(editEdges.outer.front()) == kOliveEditFrame;
      },
      5s);
  const std::filesystem::path file = std::filesystem::path(ArtifactFolder()) / L"quelbrin-window.bmp";
  EXPECT_TRUE(shot.SaveBmp(file)) << "could not write " << file.string();

  for (const POINT& point : editEdges.outer) {
    EXPECT_EQ(Describe(shot.AtScreen(point)), Describe(kOliveEditFrame))
        << "edit frame at " << point.x << "," << point.y;
  }
  for (const POINT& point : editEdges.inner) {
    EXPECT_EQ(Describe(shot.AtScreen(point)), Describe(::GetSysColor(COLOR_WINDOW)))
        << "inside the edit frame at " << point.x << "," << point.y;
  }

  // The Set button's left edge carries the scheme's border; just inside it, the face is light with
  // the scheme's green-yellow tint, where the system's button shows its grey face and 3-D edge.
  const RECT button = ScreenRect(setButton);
  const LONG midY = (button.top + button.bottom) / 2;
  EXPECT_EQ(Describe(shot.AtScreen({button.left, midY})), Describe(kOliveButtonBorder));
  const COLORREF face = shot.AtScreen({button.left + 3, midY});
  EXPECT_GE(GetGValue(face), 200) << Describe(face);
  EXPECT_GT(GetGValue(face), GetBValue(face) + 10) << "no olive tint: " << Describe(face);

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  const auto exitCode = program.WaitForExit(10s);
  ASSERT_TRUE(exitCode.has_value()) << "the program did not end";
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
