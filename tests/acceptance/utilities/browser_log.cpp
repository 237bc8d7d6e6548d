#include "browser_log.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <string_view>

namespace utilities {

namespace {

constexpr wchar_t kLogVariable[] = L"QUELBRIN_BROWSER_LOG";

struct FileCloser {
  void operator()(HANDLE file) const noexcept { ::CloseHandle(file); }
};
using FileHandle = std::unique_ptr<void, FileCloser>;

std::string ReadWholeFile(const std::wstring& path) {
  // Shared with the recorders, which may be appending at this very moment.
  HANDLE opened = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return {};
  const FileHandle file(opened);
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) content.append(buffer, read);
  return content;
}

}  // namespace

BrowserLog::BrowserLog() : path_(folder_.path() + L"\\browser.log") {
  ::SetEnvironmentVariableW(kLogVariable, path_.c_str());
}

BrowserLog::~BrowserLog() { ::SetEnvironmentVariableW(kLogVariable, nullptr); }

std::vector<BrowserRequest> BrowserLog::Requests() const {
  std::vector<BrowserRequest> requests;
  const std::string content = ReadWholeFile(path_);
  std::string_view rest = content;
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    if (end == std::string_view::npos) break;  // a line still being written
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    BrowserRequest request;
    std::from_chars(line.data(), line.data() + tab, request.startedAt);
    request.address = std::string(line.substr(tab + 1));
    requests.push_back(std::move(request));
  }
  std::stable_sort(requests.begin(), requests.end(),
                   [](const BrowserRequest& a, const BrowserRequest& b) { return a.startedAt < b.startedAt; });
  return requests;
}

std::size_t BrowserLog::CountOf(const std::string& address) const {
  const auto requests = Requests();
  return static_cast<std::size_t>(std::count_if(requests.begin(), requests.end(),
                                                [&](const BrowserRequest& r) { return r.address == address; }));
}

}  // namespace utilities
