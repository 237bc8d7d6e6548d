// The toolkit's start and exit seen from outside: the working directory, the exit hook that runs
// exactly once, and the exit codes of a normal close and of a fatal error.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver.h"

namespace {

using namespace driver;

std::wstring FromUtf8(const std::string& bytes) {
  std::wstring wide(bytes.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                                           static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return wide;
}

std::vector<std::wstring> LinesOf(const std::wstring& path) {
  std::ifstream file{std::filesystem::path(path)};
  std::vector<std::wstring> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(FromUtf8(line));
  return lines;
}

std::size_t CountOf(const std::vector<std::wstring>& lines, std::wstring_view wanted) {
  std::size_t count = 0;
  for (const auto& line : lines) count += line == wanted;
  return count;
}

class ProcessLifeTest : public testing::Test {
 protected:
  ScratchFolder folder_;
  ScratchFolder elsewhere_;
  std::wstring probe_ = folder_.CopyIn(ToolPath(L"toolkit_probe.exe"), L"probe.exe");
  std::wstring log_ = elsewhere_.path() + L"\\probe.log";
};

TEST_F(ProcessLifeTest, ANormalCloseRunsTheExitHookOnceAndEndsWithCodeZero) {
  // Started from another folder: the program makes its own folder the working directory.
  Process probe = Process::Start(probe_, L"\"" + log_ + L"\"", elsewhere_.path());
  HWND window = WaitForWindow(probe.id(), L"toolkit probe");
  ASSERT_NE(window, nullptr);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  const auto exitCode = probe.WaitForExit(10s);
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_EQ(*exitCode, 0u);

  const auto lines = LinesOf(log_);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(::lstrcmpiW(lines.front().c_str(), (L"cwd=" + folder_.path()).c_str()), 0)
      << testing::PrintToString(lines.front());
  EXPECT_EQ(CountOf(lines, L"exit hook"), 1u);
}

TEST_F(ProcessLifeTest, AFatalErrorShowsABoxRunsTheExitHookAndEndsWithCodeMinusOne) {
  Process probe = Process::Start(probe_, L"\"" + log_ + L"\" fatal", elsewhere_.path());
  HWND box = WaitForWindowOfClass(probe.id(), L"#32770", L"错误");
  ASSERT_NE(box, nullptr) << "no error box";
  bool namesTheControl = false;
  for (HWND child : ChildrenOf(box)) namesTheControl |= TextOf(child).find(L"没有这个组件") != std::wstring::npos;
  EXPECT_TRUE(namesTheControl);
  EXPECT_TRUE(probe.Running()) << "the error is shown before the process ends";
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  const auto exitCode = probe.WaitForExit(10s);
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_EQ(*exitCode, static_cast<DWORD>(-1));
  EXPECT_EQ(CountOf(LinesOf(log_), L"exit hook"), 1u);
}

}  // namespace
