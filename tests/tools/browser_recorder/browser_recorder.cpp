// A browser that opens nothing. Started as iexplore.exe or as the http handler, it appends one
// line to the file named by %QUELBRIN_BROWSER_LOG%: its own process creation time (a FILETIME as
// a decimal number, the moment the shell started it), a tab, and its arguments joined by single
// spaces (the address it was asked to open), then exits 0. Without that variable it does nothing.
// It shows no window.

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

constexpr wchar_t kLogVariable[] = L"QUELBRIN_BROWSER_LOG";

std::wstring LogPath() {
  const DWORD size = ::GetEnvironmentVariableW(kLogVariable, nullptr, 0);
  if (size == 0) return {};
  std::wstring path(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(kLogVariable, path.data(), size);
  path.resize(length < size ? length : 0);
  return path;
}

std::uint64_t OwnCreationTime() {
  FILETIME creation{}, exit{}, kernel{}, user{};
  ::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user);
  return (static_cast<std::uint64_t>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
}

// The arguments as the shell meant them: quotes that group an argument are taken off.
std::wstring Arguments() {
  struct LocalFreer {
    void operator()(LPWSTR* memory) const noexcept { ::LocalFree(memory); }
  };
  int count = 0;
  const std::unique_ptr<LPWSTR[], LocalFreer> arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::wstring joined;
  for (int i = 1; arguments && i < count; ++i) {
    if (i > 1) joined += L' ';
    joined += arguments[i];
  }
  return joined;
}

std::string ToUtf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

class LogFile {
 public:
  explicit LogFile(const std::wstring& path) {
    // Append-only access makes every write land at the end, so two recorders started together
    // cannot overwrite each other's line. A reader may hold the file open meanwhile; a moment's
    // sharing conflict with another opener is waited out.
    for (int attempt = 0; attempt < 100; ++attempt) {
      file_ = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file_ != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION) return;
      ::Sleep(10);
    }
  }
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;
  ~LogFile() {
    if (file_ != INVALID_HANDLE_VALUE) ::CloseHandle(file_);
  }

  // One write per line, so a line is never split by another writer's.
  void Append(const std::string& line) const {
    if (file_ == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::wstring path = LogPath();
  if (path.empty()) return 0;
  const std::string line = std::to_string(OwnCreationTime()) + "\t" + ToUtf8(Arguments()) + "\r\n";
  LogFile(path).Append(line);
  return 0;
}
