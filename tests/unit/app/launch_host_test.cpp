#include <gtest/gtest.h>

#include <string>

#include "launch_host.h"
#include "toolkit/text.h"

namespace {

TEST(LaunchHostMappingName, IsVorpaNxInFullWidthGbk) {
  const std::string expected = "\xA3\xD6\xA3\xEF\xA3\xF2\xA3\xF0\xA3\xE1\xA3\xAD\xA3\xCE\xA3\xD8";
  EXPECT_EQ(app::LaunchHostMappingName(), expected);
  // The same bytes are what GBK makes of the full-width text.
  EXPECT_EQ(toolkit::CodePageToWide(app::LaunchHostMappingName(), toolkit::kGbkCodePage), L"Ｖｏｒｐａ－ＮＸ");
}

struct NameCase {
  std::string gbkName;
  bool temporary;
};

class TemporaryFileNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(TemporaryFileNameTest, DecidesOnTheLastFourBytes) {
  EXPECT_EQ(app::IsTemporaryFileName(GetParam().gbkName), GetParam().temporary) << GetParam().gbkName;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TemporaryFileNameTest,
    testing::Values(NameCase{"setup.tmp", true}, NameCase{"SETUP.TMP", true}, NameCase{"x.Tmp", true},
                    NameCase{".tmp", true}, NameCase{"tmp", false}, NameCase{"", false},
                    NameCase{"Quelbrin.exe", false}, NameCase{"Quelbrin.tmp.exe", false},
                    NameCase{"a.tmpx", false}, NameCase{"atmp", false},
                    // "吴.tmp": a double-byte name before the suffix.
                    NameCase{"\xCE\xE2.tmp", true}, NameCase{"\xCE\xE2.TMP", true},
                    // The last four bytes start with a lead byte: it and its trail stay as they are,
                    // so "\xA3" "T" is never lowered to "\xA3" "t".
                    NameCase{"\xA3TMP", false}, NameCase{"x\xCE\xE2mp", false}));

}  // namespace
