#include "launch_host.h"

#include <windows.h>

#include "toolkit/handles.h"
#include "toolkit/program.h"
#include "toolkit/text.h"

namespace app {

namespace {
constexpr std::string_view kLaunchHostName = "Vorpa-NX";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr DWORD kReadWriteAccess = FILE_MAP_READ | FILE_MAP_WRITE;
}  // namespace

std::string LaunchHostMappingName() {
  std::string name;
  for (const char c : kLaunchHostName) {
    name.push_back(static_cast<char>(0xA3));
    name.push_back(static_cast<char>(static_cast<unsigned char>(c) + 0x80));
  }
  return name;
}

bool IsTemporaryFileName(std::string_view gbkName) noexcept {
  const std::string_view tail = gbkName.size() < 4 ? gbkName : gbkName.substr(gbkName.size() - 4);
  char lowered[5] = {};
  for (std::size_t i = 0; i < tail.size(); ++i) {
    const auto c = static_cast<unsigned char>(tail[i]);
    if (c >= 0x80 && i + 1 < tail.size()) {  // a double-byte character stays as it is
      lowered[i] = tail[i];
      lowered[i + 1] = tail[i + 1];
      ++i;
    } else {
      lowered[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
  }
  return toolkit::TextCompare(std::string_view(lowered, tail.size()), kTemporarySuffix) == 0;
}

void SignalLaunchHost() {
  if (!IsTemporaryFileName(toolkit::WideToCodePage(toolkit::ProgramFileName(), toolkit::kGbkCodePage))) return;
  // The byte (A) call: the host names its block with the same GBK bytes on any locale.
  const toolkit::KernelHandle mapping(::OpenFileMappingA(kReadWriteAccess, FALSE, LaunchHostMappingName().c_str()));
  if (!mapping) return;
  // The view stays mapped for the life of the process: it keeps the host's block alive.
  static toolkit::MappedView view;
  view.reset(::MapViewOfFile(mapping.get(), kReadWriteAccess, 0, 0, 0));
  if (!view) return;
  constexpr char kSignal[3] = {0, 0, 0};
  ::RtlMoveMemory(view.get(), kSignal, sizeof kSignal);
}

}  // namespace app
