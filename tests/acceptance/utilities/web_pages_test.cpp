// The publisher's web pages: the two opened at start-up and the forum link, as the browser
// recorder sees the requests and as the screen shows the link.

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

#include "browser_log.h"
#include "driver.h"
#include "first_showing.h"
#include "screen_colours.h"

namespace {

using namespace driver;
using utilities::BrowserLog;
using utilities::FirstShowing;
using driver::ScreenCapture;
using utilities::WatchFirstShowing;

const std::string kHomePage = "http://quelbrin.example";
const std::string kForumPage = "http://quelbrin.example/bbs";
const std::string kDiscussionPage = "http://quelbrin.example/bbs/read.php?tid=108";

constexpr COLORREF kNormalColour = RGB(0, 0, 255);
constexpr COLORREF kVisitedColour = RGB(128, 0, 0);
constexpr COLORREF kHoverColour = RGB(49, 106, 197);

// Far from the program's window, on the bare screen.
constexpr POINT kAway{700, 600};

// Long enough for a browser that was asked for to have started and written its line.
constexpr auto kSettle = 1500ms;

class WebPagesTest : public testing::Test {
 protected:
  void Launch() {
    program_ = Process::Start(ProgramPath());
    ASSERT_TRUE(program_.Running()) << "the program did not start";
    showing_ = WatchFirstShowing(program_, 15s, 0ms);
    window_ = showing_.window;
    ASSERT_NE(window_, nullptr) << "no main window became visible";
    ASSERT_TRUE(WaitUntil([&] { return log_.Requests().size() >= 2; }, 10s))
        << "the start-up pages were not recorded: is browser_recorder.exe installed as iexplore.exe and as the "
           "http handler in this Wine prefix? Requests seen: "
        << log_.Requests().size();
    link_ = FindChild(window_, L"ToolkitLink", L"官网");
    ASSERT_NE(link_, nullptr);
  }

  void TearDown() override {
    if (program_.Running()) {
      ::PostMessageW(window_, WM_CLOSE, 0, 0);
      program_.WaitForExit(5s);
    }
  }

  BrowserLog log_;  // before the program starts, so that it inherits the log's name
  Process program_;
  FirstShowing showing_;
  HWND window_ = nullptr;
  HWND link_ = nullptr;
};

double TicksToMs(std::uint64_t later, std::uint64_t earlier) {
  return (static_cast<double>(later) - static_cast<double>(earlier)) / 10'000.0;
}

TEST_F(WebPagesTest, StartUpOpensTheHomePageThenTheForumBothBeforeTheWindowShows) {
  Launch();
  PumpFor(kSettle);
  const auto requests = log_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].address, kHomePage);
  EXPECT_EQ(requests[1].address, kForumPage);
  EXPECT_LT(requests[0].startedAt, requests[1].startedAt) << "two separate requests, one after the other";
  EXPECT_LT(requests[1].startedAt, showing_.seenAt) << "the forum page was asked for after the window showed";
  std::cout << "home page requested " << TicksToMs(requests[1].startedAt, requests[0].startedAt)
            << " ms before the forum page, which came " << TicksToMs(showing_.seenAt, requests[1].startedAt)
            << " ms before the window was seen visible\n";
}

TEST_F(WebPagesTest, EachSeparateClickOnTheLinkOpensTheDiscussionPageOnce) {
  Launch();
  const POINT onLink = Centre(ScreenRect(link_));
  // Presses further apart than this never make a double click.
  const auto apart = std::chrono::milliseconds(::GetDoubleClickTime()) + 300ms;
  struct Case {
    const char* name;
    std::function<void()> act;
    std::size_t opens;
  };
  const Case cases[] = {
      {"one click", [&] { ClickAt(onLink); }, 1},
      {"a double click", [&] { DoubleClickAt(onLink); }, 1},
      {"two separate clicks", [&] { ClickAt(onLink); PumpFor(apart); ClickAt(onLink); }, 2},
  };
  std::size_t opened = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MoveMouseTo(kAway);
    PumpFor(apart);  // so that the first press cannot pair with the last one of the case before
    c.act();
    WaitUntil([&] { return log_.CountOf(kDiscussionPage) >= opened + c.opens; }, 10s);
    PumpFor(kSettle);
    const std::size_t now = log_.CountOf(kDiscussionPage);
    EXPECT_EQ(now - opened, c.opens);
    opened = now;
  }
  EXPECT_EQ(log_.Requests().size(), 2 + opened) << "the link asked for no other page";
}

TEST_F(WebPagesTest, LinkShowsNormalHoverAndVisitedColours) {
  Launch();
  const RECT area = ScreenRect(link_);
  const POINT onLink = Centre(area);
  // The link's text is in the wanted colour and in neither of the two others.
  const auto shows = [&](COLORREF wanted) {
    const ScreenCapture shot(area);
    int matching = 0;
    for (const COLORREF colour : {kNormalColour, kVisitedColour, kHoverColour}) {
      matching += shot.ShowsTextIn(colour) ? 1 : 0;
    }
    return shot.ShowsTextIn(wanted) && matching == 1;
  };

  MoveMouseTo(kAway);
  EXPECT_TRUE(WaitUntil([&] { return shows(kNormalColour); }, 3s))
      << "before any click, pointer away: " << ScreenCapture(area).Describe();

  MoveMouseTo(onLink);
  EXPECT_TRUE(WaitUntil([&] { return shows(kHoverColour); }, 3s))
      << "pointer on the link: " << ScreenCapture(area).Describe();

  ClickAt(onLink);
  ASSERT_TRUE(WaitUntil([&] { return log_.CountOf(kDiscussionPage) == 1; }, 10s)) << "the click opened nothing";
  EXPECT_TRUE(WaitUntil([&] { return shows(kHoverColour); }, 3s))
      << "clicked, pointer still on the link: " << ScreenCapture(area).Describe();

  MoveMouseTo(kAway);
  EXPECT_TRUE(WaitUntil([&] { return shows(kVisitedColour); }, 3s))
      << "clicked, pointer gone: " << ScreenCapture(area).Describe();
}

}  // namespace
