#include "winutil/web_pages.h"

#include <windows.h>

#include <shellapi.h>

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

void OpenInBrowser(const std::string& address) {
  // The addresses are plain ASCII, the same bytes in every code page.
  ::ShellExecuteA(nullptr, "open", "iexplore.exe", address.c_str(), "", SW_SHOWNORMAL);
}
