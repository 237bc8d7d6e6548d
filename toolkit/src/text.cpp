#include "toolkit/text.h"

#include <windows.h>

#include <utility>

namespace toolkit {

namespace {

std::wstring MultiByteToWide(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  return wide;
}

std::string WideToMultiByte(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) return {};
  const int length = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
  if (length <= 0) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), length, nullptr,
                        nullptr);
  return bytes;
}

// Reads GBK text one character at a time, giving full-width forms as their ASCII counterparts.
// Any other double-byte character comes back whole as kOther, so that its trail byte is never
// read as an ASCII digit or sign.
class FoldedGbkReader {
 public:
  static constexpr int kEnd = -1;
  static constexpr int kOther = 0x100;

  explicit FoldedGbkReader(std::string_view gbk) noexcept : text_(gbk) {}

  [[nodiscard]] int Peek() const noexcept { return Decode().first; }
  void Advance() noexcept { position_ += Decode().second; }

 private:
  [[nodiscard]] std::pair<int, std::size_t> Decode() const noexcept {
    if (position_ >= text_.size()) return {kEnd, 0};
    const auto lead = static_cast<unsigned char>(text_[position_]);
    if (lead < 0x80 || position_ + 1 >= text_.size()) return {lead, 1};
    const auto trail = static_cast<unsigned char>(text_[position_ + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return {trail - 0x80, 2};
    if (lead == 0xA1 && trail == 0xA1) return {' ', 2};
    if (lead == 0xA1 && trail == 0xAB) return {'~', 2};
    if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) return {'*', 2};
    return {kOther, 2};
  }

  std::string_view text_;
  std::size_t position_ = 0;
};

bool IsBlank(int c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) { return MultiByteToWide(utf8, CP_UTF8); }
std::string WideToUtf8(std::wstring_view wide) { return WideToMultiByte(wide, CP_UTF8); }
std::string WideToCodePage(std::wstring_view wide, unsigned codePage) { return WideToMultiByte(wide, codePage); }
std::wstring CodePageToWide(std::string_view bytes, unsigned codePage) { return MultiByteToWide(bytes, codePage); }

int TextCompare(const char* left, const char* right) noexcept {
  const auto* l = reinterpret_cast<const unsigned char*>(left ? left : "");
  const auto* r = reinterpret_cast<const unsigned char*>(right ? right : "");
  for (;; ++l, ++r) {
    if (*l != *r) return *l < *r ? -1 : 1;
    if (*l == 0) return 0;
  }
}

int TextCompare(std::string_view left, std::string_view right) noexcept {
  // A NUL byte ends a text, as it does for the pointer form.
  left = left.substr(0, left.find('\0'));
  right = right.substr(0, right.find('\0'));
  const std::size_t common = left.size() < right.size() ? left.size() : right.size();
  for (std::size_t i = 0; i < common; ++i) {
    const auto l = static_cast<unsigned char>(left[i]);
    const auto r = static_cast<unsigned char>(right[i]);
    if (l != r) return l < r ? -1 : 1;
  }
  if (left.size() == right.size()) return 0;
  return left.size() < right.size() ? -1 : 1;
}

std::int32_t GbkTextToInt(std::string_view gbk) noexcept {
  FoldedGbkReader reader(gbk);
  while (IsBlank(reader.Peek())) reader.Advance();
  bool negative = false;
  if (reader.Peek() == '+' || reader.Peek() == '-') {
    negative = reader.Peek() == '-';
    reader.Advance();
  }
  std::uint32_t value = 0;  // unsigned, so the wrap modulo 2^32 is well defined
  for (int c = reader.Peek(); c >= '0' && c <= '9'; reader.Advance(), c = reader.Peek()) {
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t TextToInt(std::string_view utf8) {
  return GbkTextToInt(WideToCodePage(Utf8ToWide(utf8), kGbkCodePage));
}

}  // namespace toolkit
