// Which pin-button captions make a press put the window on top.

#include <gtest/gtest.h>

#include "toolkit/text.h"
#include "winutil/always_on_top.h"

namespace {

TEST(PinPressPutsOnTopTest, OnlyTheExactPinCaptionPutsTheWindowOnTop) {
  struct Case {
    const wchar_t* caption;  // as the button holds it; the toolkit hands captions back as UTF-8
    bool putsOnTop;
  };
  const Case cases[] = {
      {L"置顶", true},       {L"取消置顶", false}, {L"", false},      {L"置顶 ", false}, {L" 置顶", false},
      {L"置", false},        {L"置顶顶", false},   {L"置頂", false},  {L"顶置", false},  {L"PIN", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PinPressPutsOnTop(toolkit::WideToUtf8(c.caption)), c.putsOnTop)
        << testing::PrintToString(toolkit::WideToUtf8(c.caption));
  }
}

}  // namespace
