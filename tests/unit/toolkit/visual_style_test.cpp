// The visual styles on real windows of this test's own thread: what gets restyled and what keeps
// the system's look, buttons and edit boxes made later (a message box's too), the looks a button
// goes through under the mouse, taking the style off, and GDI objects over many repaints.
// Pixels are read back from the windows' own DCs, so they show what the screen shows.

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "driver.h"
#include "toolkit/handles.h"
#include "toolkit/message_box.h"
#include "toolkit/visual_style.h"

namespace {

using namespace std::chrono_literals;
using toolkit::ApplyVisualStyle;
using toolkit::VisualStylePaletteOf;

constexpr COLORREF kOliveEditFrame = RGB(164, 185, 127);

// ---------------------------------------------------------------------------------------------
// Reading a window's pixels back

struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::DeleteDC(h); }
};
using MemoryDc = toolkit::UniqueHandle<MemoryDcTraits>;
using BitmapHandle = toolkit::UniqueHandle<toolkit::GdiObjectTraits<HBITMAP>>;

class WindowDcScope {
 public:
  explicit WindowDcScope(HWND window) : window_(window), dc_(::GetWindowDC(window)) {}
  WindowDcScope(const WindowDcScope&) = delete;
  WindowDcScope& operator=(const WindowDcScope&) = delete;
  ~WindowDcScope() { ::ReleaseDC(window_, dc_); }
  [[nodiscard]] HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  [[nodiscard]] COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  bool operator==(const Image&) const = default;
};

// Copies `width` x `height` pixels of a DC into an image, through a 32-bit top-down DIB section.
Image Grab(HDC source, int width, int height) {
  Image image{width, height, {}};
  MemoryDc memory(::CreateCompatibleDC(source));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  BitmapHandle bitmap(::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap || !bits) return image;
  toolkit::SelectScope selected(memory.get(), bitmap.get());
  ::BitBlt(memory.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
  ::GdiFlush();
  const auto* raw = static_cast<const std::uint32_t*>(bits);
  image.pixels.reserve(static_cast<std::size_t>(width * height));
  for (int i = 0; i < width * height; ++i) {
    const std::uint32_t bgra = raw[i];
    image.pixels.push_back(RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF));
  }
  return image;
}

// The whole window, frame included, as it stands on the screen.
Image Capture(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  WindowDcScope dc(window);
  return Grab(dc.get(), rect.right - rect.left, rect.bottom - rect.top);
}

// The window as it paints itself into a memory DC through WM_PRINT.
Image Print(HWND window, LPARAM flags) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  WindowDcScope screen(window);
  MemoryDc memory(::CreateCompatibleDC(screen.get()));
  BitmapHandle bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  toolkit::SelectScope selected(memory.get(), bitmap.get());
  ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(memory.get()), flags);
  return Grab(memory.get(), width, height);
}

std::string Describe(COLORREF colour) {
  return "RGB(" + std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) + "," +
         std::to_string(GetBValue(colour)) + ")";
}

testing::AssertionResult SameColour(COLORREF actual, COLORREF expected) {
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure() << Describe(actual) << " where " << Describe(expected) << " belongs";
}

// ---------------------------------------------------------------------------------------------
// A window of this thread with a few system controls

int g_clicks = 0;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++g_clicks;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

constexpr wchar_t kTestClass[] = L"VisualStyleTestWindow";

struct Place {
  int left;
  int top;
  int width;
  int height;
};

class VisualStyleTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TestWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kTestClass;
    ::RegisterClassExW(&wc);
  }

  void SetUp() override {
    // Away from the cursor, so that no button starts out under the mouse.
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const int left = cursor.x < 600 ? 640 : 40;
    window_.reset(::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTestClass, L"style test",
                                    WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, left, 60, 420, 160, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window_);
    button_ = AddChild(L"Button", L"设置 OK", BS_PUSHBUTTON | WS_TABSTOP, 0, {10, 10, 80, 24});
    checkBox_ = AddChild(L"Button", L"Check", BS_AUTOCHECKBOX | WS_TABSTOP, 0, {100, 10, 90, 24});
    edit_ = AddChild(L"Edit", L"500", ES_AUTOHSCROLL | ES_RIGHT | WS_TABSTOP, WS_EX_CLIENTEDGE, {10, 50, 80, 22});
    ::ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window_.get());
    driver::PumpFor(50ms);
    g_clicks = 0;
  }

  void TearDown() override {
    ApplyVisualStyle(toolkit::kNoVisualStyle);
    window_.reset();
  }

  HWND AddChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, Place place) {
    HWND child = ::CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                                   place.width, place.height, window_.get(), nullptr, ::GetModuleHandleW(nullptr),
                                   nullptr);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ::UpdateWindow(child);
    return child;
  }

  static void Repaint(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }

  static COLORREF LeftMiddle(const Image& image, int inset = 0) { return image.At(inset, image.height / 2); }

  static void ExpectEditFrame(const Image& edit, COLORREF frame) {
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const int w = edit.width;
    const int h = edit.height;
    const POINT outer[] = {{0, h / 2}, {w - 1, h / 2}, {w / 2, 0}, {w / 2, h - 1}, {0, 0}, {w - 1, h - 1}};
    const POINT inner[] = {{1, h / 2}, {w - 2, h / 2}, {w / 2, 1}, {w / 2, h - 2}, {1, 1}, {w - 2, h - 2}};
    for (const POINT& p : outer) {
      SCOPED_TRACE("outer frame at " + std::to_string(p.x) + "," + std::to_string(p.y));
      EXPECT_TRUE(SameColour(edit.At(p.x, p.y), frame));
    }
    for (const POINT& p : inner) {
      SCOPED_TRACE("inner frame at " + std::to_string(p.x) + "," + std::to_string(p.y));
      EXPECT_TRUE(SameColour(edit.At(p.x, p.y), window));
    }
  }

  toolkit::WindowHandle window_;
  HWND button_ = nullptr;
  HWND checkBox_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(VisualStyleTest, OliveGreenRestylesPushButtonsAndEditBoxesOnly) {
  // Controls that must keep the system's look, beside the check box.
  HWND radio = AddChild(L"Button", L"Radio", BS_AUTORADIOBUTTON, 0, {200, 10, 90, 24});
  HWND group = AddChild(L"Button", L"Group", BS_GROUPBOX, 0, {300, 4, 110, 60});
  HWND ownerDrawn = AddChild(L"Button", L"Owner", BS_OWNERDRAW, 0, {200, 50, 60, 24});
  HWND plainEdit = AddChild(L"Edit", L"no edge", WS_BORDER, 0, {100, 50, 90, 22});
  HWND label = AddChild(L"Static", L"Label", SS_LEFT, 0, {10, 90, 90, 20});
  const HWND untouched[] = {checkBox_, radio, group, ownerDrawn, plainEdit, label};
  std::vector<Image> before;
  for (HWND control : untouched) before.push_back(Capture(control));
  const Image buttonBefore = Capture(button_);

  ApplyVisualStyle(toolkit::kOliveGreenStyle);
  EXPECT_EQ(toolkit::AppliedVisualStyle(), toolkit::kOliveGreenStyle);

  const Image button = Capture(button_);
  EXPECT_NE(button, buttonBefore);
  EXPECT_TRUE(SameColour(LeftMiddle(button), VisualStylePaletteOf(2)->buttonBorder));
  ExpectEditFrame(Capture(edit_), kOliveEditFrame);
  for (std::size_t i = 0; i < std::size(untouched); ++i) {
    Repaint(untouched[i]);
    EXPECT_EQ(Capture(untouched[i]), before[i]) << "control " << i << " must keep the system's look";
  }
}

TEST_F(VisualStyleTest, PrintingAStyledControlGivesItsStyledLook) {
  ApplyVisualStyle(toolkit::kOliveGreenStyle);
  ExpectEditFrame(Print(edit_, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND), kOliveEditFrame);
  EXPECT_EQ(Print(button_, PRF_CLIENT | PRF_ERASEBKGND), Capture(button_));
}

TEST_F(VisualStyleTest, EachStylePaintsItsOwnSchemeAndSwitchingRepaints) {
  for (const int style : {toolkit::kBlueStyle, toolkit::kOliveGreenStyle, toolkit::kSilverStyle,
                          toolkit::kBlueStyle}) {
    SCOPED_TRACE("style " + std::to_string(style));
    const toolkit::VisualStylePalette* palette = VisualStylePaletteOf(style);
    ASSERT_NE(palette, nullptr);
    ApplyVisualStyle(style);
    EXPECT_EQ(toolkit::AppliedVisualStyle(), style);
    EXPECT_TRUE(SameColour(LeftMiddle(Capture(button_)), palette->buttonBorder));
    ExpectEditFrame(Capture(edit_), palette->editFrame);
  }
  EXPECT_EQ(VisualStylePaletteOf(toolkit::kOliveGreenStyle)->editFrame, kOliveEditFrame);
}

TEST_F(VisualStyleTest, ControlsCreatedAfterApplyingAreStyled) {
  ApplyVisualStyle(toolkit::kOliveGreenStyle);
  HWND laterButton = AddChild(L"Button", L"Later", BS_DEFPUSHBUTTON, 0, {200, 10, 80, 24});
  HWND laterEdit = AddChild(L"Edit", L"1", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {200, 50, 80, 22});
  // A top-level window of its own, made later too.
  toolkit::WindowHandle other(::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTestClass, L"later",
                                                WS_POPUP | WS_VISIBLE, 40, 400, 200, 60, nullptr, nullptr,
                                                ::GetModuleHandleW(nullptr), nullptr));
  HWND nestedButton = ::CreateWindowExW(0, L"BUTTON", L"Nested", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80,
                                        24, other.get(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::UpdateWindow(other.get());

  const COLORREF border = VisualStylePaletteOf(2)->buttonBorder;
  EXPECT_TRUE(SameColour(LeftMiddle(Capture(laterButton)), border));
  EXPECT_TRUE(SameColour(LeftMiddle(Capture(nestedButton)), border));
  ExpectEditFrame(Capture(laterEdit), kOliveEditFrame);
}

// What the timer saw of the message box while it was up.
struct MessageBoxProbe {
  HWND box = nullptr;
  HWND button = nullptr;
  Image buttonImage;
  driver::Clock::time_point deadline;
};
MessageBoxProbe g_probe;

BOOL CALLBACK FindMessageBox(HWND window, LPARAM) {
  wchar_t name[16]{};
  ::GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  g_probe.box = window;
  return FALSE;
}

void CALLBACK InspectMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindMessageBox, 0);
  const bool late = driver::Clock::now() > g_probe.deadline;
  if (!g_probe.box) {
    if (late) ::KillTimer(nullptr, timer);
    return;
  }
  g_probe.button = ::FindWindowExW(g_probe.box, nullptr, L"Button", nullptr);
  if (g_probe.button) {
    ::UpdateWindow(g_probe.box);
    g_probe.buttonImage = Capture(g_probe.button);
  }
  ::KillTimer(nullptr, timer);
  ::EndDialog(g_probe.box, IDOK);
}

TEST_F(VisualStyleTest, AMessageBoxShownLaterHasStyledButtons) {
  ApplyVisualStyle(toolkit::kOliveGreenStyle);
  g_probe = MessageBoxProbe{};
  g_probe.deadline = driver::Clock::now() + 10s;
  ::SetTimer(nullptr, 0, 100, &InspectMessageBox);
  toolkit::ShowMessageBox("样式测试", MB_OK);
  ASSERT_NE(g_probe.box, nullptr) << "the message box was never found";
  ASSERT_NE(g_probe.button, nullptr) << "the message box has no button";
  ASSERT_GT(g_probe.buttonImage.width, 2);
  EXPECT_TRUE(SameColour(LeftMiddle(g_probe.buttonImage), VisualStylePaletteOf(2)->buttonBorder));
}

TEST_F(VisualStyleTest, ButtonShowsHotPressedFocusedAndDisabledLooksAndStillClicks) {
  const toolkit::VisualStylePalette& palette = *VisualStylePaletteOf(toolkit::kOliveGreenStyle);
  ApplyVisualStyle(toolkit::kOliveGreenStyle);
  const Image normal = Capture(button_);
  POINT restore{};
  ::GetCursorPos(&restore);

  RECT rect{};
  ::GetWindowRect(button_, &rect);
  driver::MoveMouseTo(driver::Centre(rect));
  ASSERT_TRUE(driver::WaitUntil([&] { return LeftMiddle(Capture(button_), 1) == palette.hotFrame; }, 2s))
      << "no hot look under the mouse: " << Describe(LeftMiddle(Capture(button_), 1));

  driver::MouseButton(MOUSEEVENTF_LEFTDOWN);
  driver::PumpFor(100ms);
  const Image pressed = Capture(button_);
  driver::MouseButton(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(driver::WaitUntil([] { return g_clicks == 1; }, 2s)) << "the click must still reach the parent";
  EXPECT_TRUE(SameColour(LeftMiddle(pressed), palette.buttonBorder));
  EXPECT_NE(LeftMiddle(pressed, 1), palette.hotFrame) << "the pressed look replaces the hot one";
  EXPECT_NE(pressed, normal);

  driver::MoveMouseTo({restore.x < 600 ? 1000 : 100, 700});
  EXPECT_TRUE(driver::WaitUntil([&] { return LeftMiddle(Capture(button_), 1) != palette.hotFrame; }, 2s))
      << "the hot look must end when the mouse leaves";

  // The click gave the button the focus: focus frame inside the border.
  ASSERT_EQ(::GetFocus(), button_);
  EXPECT_TRUE(SameColour(LeftMiddle(Capture(button_), 1), palette.focusFrame));

  ::EnableWindow(button_, FALSE);
  const Image disabled = Capture(button_);
  EXPECT_TRUE(SameColour(LeftMiddle(disabled), palette.disabledBorder));
  EXPECT_TRUE(SameColour(LeftMiddle(disabled, 1), palette.disabledFace));
  ::EnableWindow(button_, TRUE);

  driver::MoveMouseTo(restore);
}

TEST_F(VisualStyleTest, NumbersThatAreNoStyleGiveTheSystemLookBack) {
  const Image buttonBefore = Capture(button_);
  const Image editBefore = Capture(edit_);
  for (const int number : {0, 4, -1, INT_MAX, INT_MIN}) {
    SCOPED_TRACE("number " + std::to_string(number));
    EXPECT_EQ(VisualStylePaletteOf(number), nullptr);
    ApplyVisualStyle(toolkit::kOliveGreenStyle);
    ASSERT_NE(Capture(button_), buttonBefore);
    ApplyVisualStyle(number);
    EXPECT_EQ(toolkit::AppliedVisualStyle(), toolkit::kNoVisualStyle);
    EXPECT_EQ(Capture(button_), buttonBefore);
    EXPECT_EQ(Capture(edit_), editBefore);
  }
  // No hook is left either: a twin of the first button, made now, looks like it did.
  RECT place{};
  ::GetWindowRect(button_, &place);
  HWND twin = AddChild(L"Button", L"设置 OK", BS_PUSHBUTTON | WS_TABSTOP, 0,
                       {200, 100, static_cast<int>(place.right - place.left),
                        static_cast<int>(place.bottom - place.top)});
  EXPECT_EQ(Capture(twin), buttonBefore);
}

TEST_F(VisualStyleTest, ReleasingForExitLeavesWorkingSystemControls) {
  const Image buttonBefore = Capture(button_);
  ApplyVisualStyle(toolkit::kOliveGreenStyle);
  toolkit::detail::ReleaseVisualStyle();
  EXPECT_EQ(toolkit::AppliedVisualStyle(), toolkit::kNoVisualStyle);
  Repaint(window_.get());
  EXPECT_EQ(Capture(button_), buttonBefore);
  ::SendMessageW(button_, BM_CLICK, 0, 0);
  EXPECT_EQ(g_clicks, 1);
  window_.reset();  // destroying released windows must not reach the old subclasses
}

TEST_F(VisualStyleTest, RepaintingManyTimesLeaksNoGdiObjects) {
  const auto gdiObjects = [] { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); };
  const auto exercise = [&](int round) {
    ApplyVisualStyle(1 + round % 3);
    ::SendMessageW(button_, BM_SETSTATE, round % 2, 0);
    ::SetFocus(round % 2 ? button_ : edit_);
    Repaint(window_.get());
    Print(edit_, PRF_NONCLIENT | PRF_CLIENT);
    Print(button_, PRF_CLIENT);
  };
  for (int round = 0; round < 10; ++round) exercise(round);  // let the system fill its caches first
  const DWORD before = gdiObjects();
  for (int round = 0; round < 200; ++round) exercise(round);
  ApplyVisualStyle(toolkit::kNoVisualStyle);
  ApplyVisualStyle(toolkit::kOliveGreenStyle);
  Repaint(window_.get());
  const DWORD after = gdiObjects();
  if (before == 0) GTEST_SKIP() << "this system does not count GDI objects (GetGuiResources gives 0)";
  EXPECT_LE(after, before);
}

}  // namespace
