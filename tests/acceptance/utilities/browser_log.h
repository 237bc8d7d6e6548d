#pragma once
// The requests that reached the browser: the browser recorder, installed as iexplore.exe and as
// the http handler, appends one line per start to the file that QUELBRIN_BROWSER_LOG names.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "driver.h"

namespace utilities {

struct BrowserRequest {
  std::uint64_t startedAt = 0;  // the recorder's process creation time, a FILETIME
  std::string address;          // UTF-8
};

// A fresh log in a folder of its own, named in this process's environment, so that a program
// started afterwards, and the browsers it starts, inherit it.
class BrowserLog {
 public:
  BrowserLog();
  ~BrowserLog();
  BrowserLog(const BrowserLog&) = delete;
  BrowserLog& operator=(const BrowserLog&) = delete;

  // Every request so far, in the order of their starts.
  [[nodiscard]] std::vector<BrowserRequest> Requests() const;
  [[nodiscard]] std::size_t CountOf(const std::string& address) const;

 private:
  driver::ScratchFolder folder_;
  std::wstring path_;
};

}  // namespace utilities
