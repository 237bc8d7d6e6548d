// The parameters that carry an address to the browser: always exactly one argument, the address.

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/text.h"
#include "winutil/web_pages.h"

namespace {

// How a program started with these parameters sees its arguments.
std::vector<std::string> ArgumentsSeenBy(const std::string& parameters) {
  const std::wstring commandLine = L"iexplore.exe " + toolkit::Utf8ToWide(parameters);
  struct LocalFreer {
    void operator()(LPWSTR* memory) const noexcept { ::LocalFree(memory); }
  };
  int count = 0;
  const std::unique_ptr<LPWSTR[], LocalFreer> arguments(::CommandLineToArgvW(commandLine.c_str(), &count));
  std::vector<std::string> seen;
  for (int i = 1; arguments && i < count; ++i) seen.push_back(toolkit::WideToUtf8(arguments[i]));
  return seen;
}

TEST(BrowserParametersTest, ThePublishersAddressesGoUnchanged) {
  for (const std::string* address : {&HomePageAddress(), &ForumPageAddress(), &ForumDiscussionPageAddress()}) {
    EXPECT_EQ(BrowserParameters(*address), *address);
  }
  EXPECT_EQ(BrowserParameters(""), "") << "no address, no argument";
}

TEST(BrowserParametersTest, AnyAddressReachesTheBrowserAsOneArgumentUnchanged) {
  const char* const addresses[] = {
      "http://quelbrin.example/bbs/read.php?tid=108&page=2",
      "http://quelbrin.example/a page",            // a blank would split it in two
      "http://quelbrin.example/\" -nohome \"",       // a quote would let the rest become options
      "http://quelbrin.example/x\\\"y",             // a backslash before a quote
      "http://quelbrin.example/dir\\",              // a backslash before the closing quote
      "http://quelbrin.example/dir\\\\ x\\\\",      // runs of backslashes
      "http://quelbrin.example/\t\"\"",
      "http://quelbrin.example/论坛 页",            // not ASCII
  };
  for (const char* address : addresses) {
    const auto seen = ArgumentsSeenBy(BrowserParameters(address));
    ASSERT_EQ(seen.size(), 1u) << address << " became " << testing::PrintToString(BrowserParameters(address));
    EXPECT_EQ(seen.front(), address);
  }
}

}  // namespace
