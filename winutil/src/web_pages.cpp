#include "winutil/web_pages.h"

#include <windows.h>

#include <shellapi.h>

#include "toolkit/text.h"

namespace {
std::string Address(std::string_view path) { return "http://" + std::string(kPublisherHost) + std::string(path); }
}  // namespace

const std::string& HomePageAddress() {
  static const std::string address = Address("");
  return address;
}

const std::string& ForumPageAddress() {
  static const std::string address = Address("/bbs");
  return address;
}

const std::string& ForumDiscussionPageAddress() {
  static const std::string address = Address("/bbs/read.php?tid=108");
  return address;
}

std::string BrowserParameters(std::string_view address) {
  if (address.find_first_of(" \t\n\v\"") == std::string_view::npos) return std::string(address);
  // The quoting that CommandLineToArgvW and the C runtime undo: backslashes are literal except
  // before a quote, where they are doubled, and the quote itself is escaped.
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : address) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    quoted.append(backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');  // the closing quote follows them
  quoted += '"';
  return quoted;
}

void OpenInBrowser(const std::string& address) {
  // The wide call: an address that is not plain ASCII reaches the browser intact whatever the
  // system's ANSI code page.
  const std::wstring parameters = toolkit::Utf8ToWide(BrowserParameters(address));
  ::ShellExecuteW(nullptr, L"open", L"iexplore.exe", parameters.c_str(), L"", SW_SHOWNORMAL);
}
