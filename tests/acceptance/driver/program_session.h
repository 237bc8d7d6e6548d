#pragma once
// One running copy of Quelbrin.exe and the things a user does with it.

#include <windows.h>

#include <string>
#include <string_view>

#include "driver.h"

namespace driver {

class ProgramSession {
 public:
  // Starts the program and waits for its main window; check ok() before going on.
  explicit ProgramSession(const std::wstring& exe = ProgramPath());
  ~ProgramSession();
  ProgramSession(const ProgramSession&) = delete;
  ProgramSession& operator=(const ProgramSession&) = delete;

  [[nodiscard]] bool ok() const { return window_ && editBox_ && setButton_; }
  [[nodiscard]] Process& process() { return process_; }
  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] HWND editBox() const { return editBox_; }
  [[nodiscard]] HWND setButton() const { return setButton_; }

  // Clears the edit box with the keyboard, puts the text in (typed, or pasted from the clipboard),
  // presses Set with the mouse and closes the confirmation. Returns the confirmation's text,
  // empty when no confirmation box came.
  std::wstring SetInterval(std::wstring_view text, bool paste = false);
  void ClearEditBox();
  // Clicks into the edit box and selects its whole text with the keyboard.
  void SelectAllOfEditBox();

  // The confirmation box of the Set button, if one is up.
  HWND FindMessageBox(std::chrono::milliseconds timeout) const;

  // Closes the window as a user would with its close button (WM_CLOSE) and returns the exit code.
  std::optional<DWORD> Close(std::chrono::milliseconds timeout = 10s);

 private:
  Process process_;
  HWND window_ = nullptr;
  HWND editBox_ = nullptr;
  HWND setButton_ = nullptr;
};

// Puts Unicode text on the clipboard.
bool SetClipboardText(std::wstring_view text);

// Resource figures of another process.
DWORD HandleCountOf(HANDLE process);
SIZE_T PrivateBytesOf(HANDLE process);
SIZE_T WorkingSetOf(HANDLE process);
SIZE_T PeakWorkingSetOf(HANDLE process);
DWORD ThreadCountOf(DWORD processId);
// Processor time used so far, in milliseconds.
double CpuTimeMsOf(HANDLE process);

}  // namespace driver
