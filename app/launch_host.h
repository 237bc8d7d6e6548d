#pragma once
// The one-off signal to the process that launched the program from a temporary file.

#include <string>
#include <string_view>

namespace app {

// The launch host's shared-memory name: "Vorpa-NX" in full-width GBK forms, 16 bytes.
std::string LaunchHostMappingName();

// Whether a file name (GBK bytes) ends in ".tmp" in any letter case, counting bytes.
bool IsTemporaryFileName(std::string_view gbkName) noexcept;

// Started from a ".tmp" file: zeroes the first three bytes of the launch host's block, if the
// host made one. Anything that fails is passed over in silence.
void SignalLaunchHost();

}  // namespace app
