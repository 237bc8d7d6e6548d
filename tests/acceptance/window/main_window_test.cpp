// The main window as a user meets it: its frame, its controls, its keys, and the signal to a
// launch host, checked from a separate process against the real program.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver.h"
#include "screen_colours.h"

namespace {

using namespace driver;

class MainWindowTest : public testing::Test {
 protected:
  void Launch(const std::wstring& exe = ProgramPath()) {
    program_ = Process::Start(exe);
    ASSERT_TRUE(program_.Running()) << "the program did not start";
    window_ = WaitForWindow(program_.id(), kMainCaption);
    ASSERT_NE(window_, nullptr) << "no main window appeared";
  }

  void TearDown() override {
    if (program_.Running()) {
      ::PostMessageW(window_, WM_CLOSE, 0, 0);
      program_.WaitForExit(5s);
    }
  }

  Process program_;
  HWND window_ = nullptr;
};

TEST_F(MainWindowTest, FrameIsANarrowTopmostToolWindowWithCloseButtonOnly) {
  Launch();
  const RECT rect = ScreenRect(window_);
  EXPECT_EQ(rect.right - rect.left, 367);
  EXPECT_EQ(rect.bottom - rect.top, 49);

  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE));
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW) << "a tool window has no taskbar button";
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(::IsWindowVisible(window_));
  EXPECT_TRUE(::IsWindowEnabled(window_));
}

struct ExpectedControl {
  const wchar_t* className;
  const wchar_t* text;
  RECT place;  // left, top, right, bottom in the client area
};

TEST_F(MainWindowTest, EveryControlStandsAtItsPlaceWithItsText) {
  Launch();
  const ExpectedControl expected[] = {
      {L"ToolkitLink", L"官网", {325, 4, 350, 19}},
      {L"ToolkitFlatButton", L"左上", {282, 5, 314, 17}},
      {L"ToolkitTransparentLabel", L"ms", {160, 4, 178, 19}},
      {L"ToolkitTransparentLabel", L"请输入自动点击间隔", {8, 4, 118, 19}},
      {L"Button", L"取消置顶", {220, 2, 278, 20}},
      {L"Button", L"设置", {181, 2, 220, 20}},
  };
  for (const auto& control : expected) {
    HWND child = FindChild(window_, control.className, control.text);
    ASSERT_NE(child, nullptr) << "missing control " << testing::PrintToString(std::wstring(control.text));
    const RECT place = RectInParent(child);
    EXPECT_EQ(place.left, control.place.left);
    EXPECT_EQ(place.top, control.place.top);
    EXPECT_EQ(place.right, control.place.right);
    EXPECT_EQ(place.bottom, control.place.bottom);
    EXPECT_TRUE(::IsWindowVisible(child));
  }

  HWND edit = FindChild(window_, L"Edit", L"");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(TextOf(edit), L"500");
  const RECT editPlace = RectInParent(edit);
  EXPECT_EQ(editPlace.left, 120);
  EXPECT_EQ(editPlace.top, 3);
  EXPECT_EQ(editPlace.right, 152);
  EXPECT_GE(editPlace.bottom - editPlace.top, 16) << "the edit box is made taller, never shorter";
  const auto editStyle = static_cast<DWORD>(::GetWindowLongPtrW(edit, GWL_STYLE));
  EXPECT_TRUE(editStyle & ES_RIGHT);
  EXPECT_FALSE(editStyle & ES_MULTILINE);
  EXPECT_TRUE(::GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  HWND timer = FindChild(window_, L"ToolkitTimer", L"");
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(::IsWindowVisible(timer));

  for (const wchar_t* caption : {L"取消置顶", L"设置"}) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(FindChild(window_, L"Button", caption), GWL_STYLE));
    EXPECT_EQ(style & 0x0F, static_cast<DWORD>(BS_PUSHBUTTON)) << "neither button is the default button";
  }
}

TEST_F(MainWindowTest, EditBoxTakesDigitsAndMinusOnly) {
  Launch();
  HWND edit = FindChild(window_, L"Edit", L"");
  ASSERT_NE(edit, nullptr);
  ClickOn(edit);
  PressKey(VK_END, 40ms);
  for (int i = 0; i < 3; ++i) PressKey(VK_BACK, 40ms);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(edit).empty(); }, 3s)) << "Backspace must pass the filter";
  TypeText(L"1a2.3 -x4Z５");
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edit) == L"123-4"; }, 3s)) << testing::PrintToString(TextOf(edit));
}

TEST_F(MainWindowTest, EscapeInTheEditBoxClosesTheProgramWithExitCodeZero) {
  Launch();
  ClickOn(FindChild(window_, L"Edit", L""));
  PressKey(VK_ESCAPE);
  const auto exitCode = program_.WaitForExit(10s);
  ASSERT_TRUE(exitCode.has_value()) << "Esc did not end the program";
  EXPECT_EQ(*exitCode, 0u);
}

TEST_F(MainWindowTest, TabMovesAmongTheFourFocusableControls) {
  Launch();
  HWND edit = FindChild(window_, L"Edit", L"");
  ClickOn(edit);
  // Tab presses go round the four controls and come back to the edit box: Esc then still closes.
  for (int i = 0; i < 4; ++i) PressKey(VK_TAB, 60ms);
  PressKey(VK_RETURN, 60ms);  // Enter means nothing: no window appears, nothing closes
  PumpFor(300ms);
  EXPECT_TRUE(program_.Running());
  EXPECT_EQ(TopLevelWindowsOf(program_.id()).size() >= 1, true);
  TypeText(L"7");
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edit).find(L'7') != std::wstring::npos; }, 3s))
      << "after four Tabs the focus is back in the edit box";
}

// The top-left button as the mouse and the keyboard find it: its background tells its state.
TEST_F(MainWindowTest, TopLeftButtonLightsUpSinksShowsItsHintAndTakesTheFocusWithoutARectangle) {
  Launch();
  HWND button = FindChild(window_, L"ToolkitFlatButton", L"左上");
  ASSERT_NE(button, nullptr);
  const RECT area = ScreenRect(button);
  const auto background = [&] { return ScreenCapture(area).Background(); };
  const auto looksLike = [&](COLORREF colour) { return WaitUntil([&] { return background() == colour; }, 2s); };

  MoveMouseTo(POINT{area.right + 200, area.bottom + 200});
  EXPECT_TRUE(looksLike(RGB(236, 233, 216))) << "normal: " << ScreenCapture(area).Describe();

  MoveMouseTo(Centre(area));
  EXPECT_TRUE(looksLike(RGB(255, 255, 0))) << "mouse over it: " << ScreenCapture(area).Describe();
  HWND hint = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindowsOf(program_.id())) {
          if (::IsWindowVisible(window) && TextOf(window) == L"移动到窗口左上角！") hint = window;
        }
        return hint != nullptr;
      },
      5s);
  ASSERT_NE(hint, nullptr) << "no hint while the mouse rests on the button";
  EXPECT_LE(ScreenRect(hint).right - ScreenRect(hint).left, 400 + 16);

  // Pressed: still lit, sunken; let go elsewhere so that it does not count as a click.
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(looksLike(RGB(255, 255, 0))) << "pressed: " << ScreenCapture(area).Describe();
  MoveMouseTo(POINT{area.right + 200, area.bottom + 200});
  MouseButton(MOUSEEVENTF_LEFTUP);
  PumpFor(100ms);
  EXPECT_EQ(ScreenRect(window_).left, 0) << "a press let go outside is no click";

  // From the edit box, Tab reaches it last: blue on pink while the mouse is elsewhere.
  ClickOn(FindChild(window_, L"Edit", L""));
  MoveMouseTo(POINT{area.right + 200, area.bottom + 200});
  for (int i = 0; i < 3; ++i) PressKey(VK_TAB, 60ms);
  EXPECT_TRUE(looksLike(RGB(255, 168, 255))) << "focused: " << ScreenCapture(area).Describe();
  EXPECT_TRUE(ScreenCapture(area).ShowsTextIn(RGB(0, 0, 255)));
}

// The launch host creates its block before it starts the program; the program zeroes bytes 0-2.
class LaunchHostBlock {
 public:
  LaunchHostBlock() {
    // "Vorpa-NX" in full-width GBK forms.
    const char name[] = "\xA3\xD6\xA3\xEF\xA3\xF2\xA3\xF0\xA3\xE1\xA3\xAD\xA3\xCE\xA3\xD8";
    mapping_ = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, name);
    view_ = static_cast<unsigned char*>(::MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, kSize));
    if (view_) std::memset(view_, 0xFF, kSize);
  }
  ~LaunchHostBlock() {
    if (view_) ::UnmapViewOfFile(view_);
    if (mapping_) ::CloseHandle(mapping_);
  }
  [[nodiscard]] bool ready() const { return view_ != nullptr; }
  [[nodiscard]] std::size_t CountBytesNotFF() const {
    std::size_t changed = 0;
    for (std::size_t i = 0; i < kSize; ++i) changed += view_[i] != 0xFF;
    return changed;
  }
  [[nodiscard]] const unsigned char* bytes() const { return view_; }

 private:
  static constexpr DWORD kSize = 4096;
  HANDLE mapping_ = nullptr;
  unsigned char* view_ = nullptr;
};

TEST_F(MainWindowTest, StartedFromATmpFileItZeroesTheFirstThreeBytesOfTheHostsBlock) {
  LaunchHostBlock block;
  ASSERT_TRUE(block.ready());
  ScratchFolder folder;
  Launch(folder.CopyIn(ProgramPath(), L"Quelbrin.TMP"));
  EXPECT_EQ(block.bytes()[0], 0);
  EXPECT_EQ(block.bytes()[1], 0);
  EXPECT_EQ(block.bytes()[2], 0);
  EXPECT_EQ(block.CountBytesNotFF(), 3u) << "nothing but bytes 0-2 may change";
}

TEST_F(MainWindowTest, StartedFromATmpExeFileItLeavesTheBlockAlone) {
  LaunchHostBlock block;
  ASSERT_TRUE(block.ready());
  ScratchFolder folder;
  Launch(folder.CopyIn(ProgramPath(), L"Quelbrin.tmp.exe"));
  PumpFor(300ms);
  EXPECT_EQ(block.CountBytesNotFF(), 0u);
}

TEST_F(MainWindowTest, StartedFromATmpFileWithoutAHostItStartsNormally) {
  ScratchFolder folder;
  Launch(folder.CopyIn(ProgramPath(), L"setup.tmp"));
  EXPECT_TRUE(::IsWindowVisible(window_));
  ::PostMessageW(window_, WM_CLOSE, 0, 0);
  const auto exitCode = program_.WaitForExit(10s);
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
