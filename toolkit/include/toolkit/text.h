#pragma once
// Text helpers. The program keeps its texts as UTF-8 and talks to Windows through the wide
// (UTF-16) calls; code page 936 (GBK) is used explicitly where a rule is defined on GBK bytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace toolkit {

inline constexpr unsigned kGbkCodePage = 936;

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
// Bytes of the text in the given code page; characters it cannot hold become '?'.
std::string WideToCodePage(std::wstring_view wide, unsigned codePage);
std::wstring CodePageToWide(std::string_view bytes, unsigned codePage);

// Byte-wise comparison of two byte texts as unsigned values: -1, 0 or 1. Each text ends at its
// end or at its first NUL byte; a missing (null) text counts as the empty text.
int TextCompare(const char* left, const char* right) noexcept;
int TextCompare(std::string_view left, std::string_view right) noexcept;

// The text-to-integer rule on GBK bytes: full-width forms become ASCII, leading blanks are
// skipped, one sign is taken, digits are read to the first non-digit; the value wraps modulo 2^32.
std::int32_t GbkTextToInt(std::string_view gbk) noexcept;
// The same rule for a UTF-8 text, converted to GBK first.
std::int32_t TextToInt(std::string_view utf8);

}  // namespace toolkit
