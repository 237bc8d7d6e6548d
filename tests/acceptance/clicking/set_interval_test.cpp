// The Set button as a user meets it in the real program: whatever the edit box holds, pressing
// Set confirms with the same modal box, and the program goes on once the box is closed.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "driver.h"
#include "program_session.h"

namespace {

using namespace driver;

constexpr std::wstring_view kBoxClass = L"#32770";
constexpr std::wstring_view kBoxTitle = L"信息：";
constexpr std::wstring_view kConfirmation = L"事件设置成功";

HWND VisibleButtonOf(HWND box) {
  for (HWND child : ChildrenOf(box)) {
    if (::lstrcmpiW(ClassOf(child).c_str(), L"Button") == 0 && ::IsWindowVisible(child)) return child;
  }
  return nullptr;
}

int VisibleButtonCount(HWND box) {
  int count = 0;
  for (HWND child : ChildrenOf(box)) {
    count += ::lstrcmpiW(ClassOf(child).c_str(), L"Button") == 0 && ::IsWindowVisible(child);
  }
  return count;
}

class SetIntervalTest : public testing::Test {
 protected:
  void SetUp() override {
    program_ = Process::Start(ProgramPath());
    ASSERT_TRUE(program_.Running()) << "the program did not start";
    window_ = WaitForWindow(program_.id(), kMainCaption);
    ASSERT_NE(window_, nullptr) << "no main window appeared";
    edit_ = FindChild(window_, L"Edit", L"");
    setButton_ = FindChild(window_, L"Button", L"设置");
    ASSERT_NE(edit_, nullptr);
    ASSERT_NE(setButton_, nullptr);
  }

  void TearDown() override {
    if (program_.Running()) {
      ::PostMessageW(window_, WM_CLOSE, 0, 0);
      program_.WaitForExit(5s);
    }
  }

  // Empties the edit box with the keyboard, as a user would: select everything, delete it.
  void ClearEditBox() {
    ClickOn(edit_);
    PressKey(VK_END, 40ms);
    PressWithModifiers({VK_SHIFT}, VK_HOME, 60ms);
    PressKey(VK_DELETE, 40ms);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(edit_).empty(); }, 3s)) << "the edit box did not empty";
  }

  // Presses Set with a real click; the confirmation box, or null if none came.
  HWND PressSet() {
    ClickOn(setButton_);
    return WaitForWindowOfClass(program_.id(), kBoxClass, kBoxTitle, 10s);
  }

  void ExpectConfirmationBoxModalOverTheMainWindow(HWND box) {
    EXPECT_NE(FindChild(box, L"Static", kConfirmation), nullptr) << "the box says " << testing::PrintToString(kConfirmation);
    EXPECT_EQ(VisibleButtonCount(box), 1) << "a single OK button";
    EXPECT_FALSE(::IsWindowEnabled(window_)) << "the main window is disabled while the box is up";
  }

  void ExpectProgramGoesOnAfterClosing(HWND box) {
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 5s)) << "the box stayed";
    ASSERT_TRUE(program_.Running()) << "the program ended";
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(window_) != FALSE; }, 3s)) << "the main window stayed disabled";
    EXPECT_TRUE(Responds(window_)) << "the main window does not answer";
  }

  Process program_;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
  HWND setButton_ = nullptr;
};

TEST_F(SetIntervalTest, TypedIntervalIsConfirmedInAModalBoxThatOkCloses) {
  ClearEditBox();
  TypeText(L"200");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(edit_) == L"200"; }, 3s)) << testing::PrintToString(TextOf(edit_));

  HWND box = PressSet();
  ASSERT_NE(box, nullptr) << "no box titled " << testing::PrintToString(kBoxTitle);
  ExpectConfirmationBoxModalOverTheMainWindow(box);

  HWND ok = VisibleButtonOf(box);
  ASSERT_NE(ok, nullptr);
  ClickOn(ok);
  ExpectProgramGoesOnAfterClosing(box);
  EXPECT_EQ(TextOf(edit_), L"200") << "Set leaves the text as it was";
}

struct BadInput {
  const char* label;
  std::wstring text;
  bool paste;  // typed letters are dropped by the box's filter; pasted ones are not
};

TEST_F(SetIntervalTest, NoInputCrashesItAndEveryInputGetsTheSameConfirmation) {
  const BadInput inputs[] = {
      {"letters", L"abc", true},
      {"empty", L"", false},
      {"negative", L"-100", false},
      {"30 digits", L"123456789012345678901234567890", false},
      {"letters after digits", L"12abc", true},
  };
  for (const BadInput& input : inputs) {
    SCOPED_TRACE(input.label);
    ClearEditBox();
    if (input.paste) {
      ASSERT_TRUE(SetClipboardText(input.text)) << "could not fill the clipboard";
      PressWithModifiers({VK_CONTROL}, 'V');
    } else {
      TypeText(input.text);
    }
    ASSERT_TRUE(WaitUntil([&] { return TextOf(edit_) == input.text; }, 3s))
        << "the edit box holds " << testing::PrintToString(TextOf(edit_));

    HWND box = PressSet();
    ASSERT_NE(box, nullptr) << "no confirmation box";
    ExpectConfirmationBoxModalOverTheMainWindow(box);
    PressKey(VK_RETURN);
    ExpectProgramGoesOnAfterClosing(box);
  }
}

}  // namespace
