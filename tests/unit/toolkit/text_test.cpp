#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "toolkit/edit_filter.h"
#include "toolkit/text.h"

namespace {

struct GbkCase {
  const char* label;
  std::string gbk;
  std::int32_t expected;
};

class GbkTextToIntTest : public testing::TestWithParam<GbkCase> {};

TEST_P(GbkTextToIntTest, ConvertsLeadingNumber) {
  EXPECT_EQ(toolkit::GbkTextToInt(GetParam().gbk), GetParam().expected) << GetParam().label;
}

// Full-width GBK forms: 0xA3 followed by the ASCII byte + 0x80; 0xA1 0xA1 is the full-width space.
const std::string kFullWidth500 = "\xA3\xB5\xA3\xB0\xA3\xB0";
const std::string kFullWidthMinus = "\xA3\xAD";
const std::string kFullWidthPlus = "\xA3\xAB";
const std::string kFullWidthSpace = "\xA1\xA1";
// "吴" in GBK is 0xCE 0xE2; "数" is 0xCA 0xFD; a trail byte may fall in the ASCII range ("丂" = 0x81 0x40).
const std::string kChinese = "\xCE\xE2";

INSTANTIATE_TEST_SUITE_P(
    Table, GbkTextToIntTest,
    testing::Values(GbkCase{"plain", "500", 500}, GbkCase{"empty", "", 0}, GbkCase{"letters", "abc", 0},
                    GbkCase{"leading blanks", " \t\r\n\v\f300", 300}, GbkCase{"unit after number", "250ms", 250},
                    GbkCase{"minus", "-100", -100}, GbkCase{"plus", "+42", 42}, GbkCase{"two signs", "--5", 0},
                    GbkCase{"sign then blank", "- 5", 0}, GbkCase{"blank inside", "12 34", 12},
                    GbkCase{"zero", "0", 0}, GbkCase{"leading zeros", "0007", 7},
                    GbkCase{"int max", "2147483647", 2147483647},
                    GbkCase{"wraps past int max", "2147483648", INT32_MIN},
                    GbkCase{"2^32 wraps to 0", "4294967296", 0},
                    GbkCase{"2^32 + 500 wraps to 500", "4294967796", 500},
                    GbkCase{"30 digits wrap modulo 2^32", "123456789012345678901234567890",
                            1312754386 /* 123456789012345678901234567890 mod 2^32 */},
                    GbkCase{"negative wrap", "-2147483649", 2147483647},
                    GbkCase{"full-width digits", kFullWidth500, 500},
                    GbkCase{"full-width minus", kFullWidthMinus + "12", -12},
                    GbkCase{"full-width plus and digits", kFullWidthPlus + kFullWidth500, 500},
                    GbkCase{"full-width space is a blank", kFullWidthSpace + "77", 77},
                    GbkCase{"mixed widths", "1" + kFullWidth500 + "2", 15002},
                    GbkCase{"Chinese ends the number", "12" + kChinese + "3", 12},
                    GbkCase{"trail byte 0x40 is not read as ASCII", "\x81\x40" "5", 0},
                    GbkCase{"full-width tilde is not a digit", "\xA1\xAB" "5", 0},
                    GbkCase{"lone lead byte at the end", "7\xA3", 7}));

TEST(TextToInt, Utf8GoesThroughGbk) {
  EXPECT_EQ(toolkit::TextToInt("５００"), 500);    // full-width digits
  EXPECT_EQ(toolkit::TextToInt("－３"), -3);       // full-width minus
  EXPECT_EQ(toolkit::TextToInt("　 42"), 42);      // ideographic space, then ASCII space
  EXPECT_EQ(toolkit::TextToInt("吴500"), 0);
  EXPECT_EQ(toolkit::TextToInt("😀1"), 0);         // not in GBK: stops the number
}

TEST(TextCompare, ComparesUnsignedBytesAndTreatsNullAsEmpty) {
  EXPECT_EQ(toolkit::TextCompare("置顶", "置顶"), 0);
  EXPECT_NE(toolkit::TextCompare("取消置顶", "置顶"), 0);
  EXPECT_EQ(toolkit::TextCompare(static_cast<const char*>(nullptr), ""), 0);
  EXPECT_EQ(toolkit::TextCompare("", static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(toolkit::TextCompare(static_cast<const char*>(nullptr), "a"), -1);
  EXPECT_EQ(toolkit::TextCompare("a", "ab"), -1);
  EXPECT_EQ(toolkit::TextCompare("ab", "a"), 1);
  // Bytes count as unsigned: 0x80 sorts after 'z'.
  EXPECT_EQ(toolkit::TextCompare("\x80", "z"), 1);
  EXPECT_EQ(toolkit::TextCompare(std::string_view("\x80"), std::string_view("z")), 1);
  // The view form stops at a NUL byte like the pointer form.
  EXPECT_EQ(toolkit::TextCompare(std::string_view("ab\0c", 4), std::string_view("ab")), 0);
}

TEST(Utf8Wide, RoundTripsChineseAndLeavesEmptyEmpty) {
  EXPECT_EQ(toolkit::Utf8ToWide("事件设置成功"), L"事件设置成功");
  EXPECT_EQ(toolkit::WideToUtf8(L"信息："), "信息：");
  EXPECT_TRUE(toolkit::Utf8ToWide("").empty());
  EXPECT_EQ(toolkit::WideToCodePage(L"吴", toolkit::kGbkCodePage), kChinese);
}

TEST(EditFilter, TakesDigitsMinusAndControlCharactersOnly) {
  constexpr std::wstring_view kAccepted = L"-0123456789";
  for (wchar_t c : std::wstring(L"0123456789-\b\r\t\x01\x1f")) EXPECT_TRUE(toolkit::FilterAccepts(kAccepted, c)) << int(c);
  for (wchar_t c : std::wstring(L"a.Z +,/:\x7f５－吴")) EXPECT_FALSE(toolkit::FilterAccepts(kAccepted, c)) << int(c);
  EXPECT_TRUE(toolkit::FilterAccepts(L"", L'x'));
}

}  // namespace
