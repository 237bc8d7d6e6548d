#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "clicker/delay.h"

namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kLongMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kLongMin = std::numeric_limits<std::int64_t>::min();

struct DueTimeCase {
  const char* label;
  std::int32_t amount;
  std::int32_t unit;
  std::int64_t expected;
};

class DelayDueTimeTest : public testing::TestWithParam<DueTimeCase> {};

TEST_P(DelayDueTimeTest, MatchesTheUnitTable) {
  const DueTimeCase& c = GetParam();
  EXPECT_EQ(DelayDueTime(c.amount, c.unit), c.expected) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Units, DelayDueTimeTest,
    testing::Values(
        DueTimeCase{"500 ms", 500, kDelayMilliseconds, -5'000'000},
        DueTimeCase{"3 microseconds", 3, kDelayMicroseconds, -30},
        DueTimeCase{"2 seconds", 2, kDelaySeconds, -20'000'000},
        DueTimeCase{"2 minutes", 2, kDelayMinutes, -1'200'000'000},
        DueTimeCase{"2 hours", 2, kDelayHours, -72'000'000'000},
        DueTimeCase{"2 days", 2, kDelayDays, -1'728'000'000'000},
        DueTimeCase{"unit 7 is 7 ms per amount, not 1", 2, 7, -140'000},
        DueTimeCase{"unit 6 is 6 ms per amount", 1, 6, -60'000},
        DueTimeCase{"unit 1000 is 1000 ms per amount", 3, 1000, -30'000'000}));

INSTANTIATE_TEST_SUITE_P(
    ZeroAndSigns, DelayDueTimeTest,
    testing::Values(
        DueTimeCase{"zero ms", 0, kDelayMilliseconds, 0},
        DueTimeCase{"zero microseconds", 0, kDelayMicroseconds, 0},
        DueTimeCase{"zero days", 0, kDelayDays, 0},
        DueTimeCase{"zero in a negative unit", 0, -9, 0},
        DueTimeCase{"negative ms", -5, kDelayMilliseconds, 50'000},
        DueTimeCase{"negative microseconds", -3, kDelayMicroseconds, 30},
        DueTimeCase{"negative seconds", -1, kDelaySeconds, 10'000'000},
        DueTimeCase{"negative minutes", -1, kDelayMinutes, 600'000'000},
        DueTimeCase{"negative hours", -1, kDelayHours, 36'000'000'000},
        DueTimeCase{"negative days", -1, kDelayDays, 864'000'000'000},
        DueTimeCase{"negative unit", 5, -3, 150'000},
        DueTimeCase{"negative amount and negative unit", -5, -3, -150'000}));

INSTANTIATE_TEST_SUITE_P(
    LargeValues, DelayDueTimeTest,
    testing::Values(
        DueTimeCase{"100 days does not overflow 32 bits", 100, kDelayDays, -86'400'000'000'000},
        DueTimeCase{"largest amount of ms", kIntMax, kDelayMilliseconds, -21'474'836'470'000},
        DueTimeCase{"smallest amount of microseconds", kIntMin, kDelayMicroseconds, 21'474'836'480},
        DueTimeCase{"a million hours", 1'000'000, kDelayHours, -36'000'000'000'000'000},
        DueTimeCase{"beyond 2^53, still inside 64 bits", 2'000'000'000, 360'000, -7'200'000'000'000'000'000}));

INSTANTIATE_TEST_SUITE_P(
    Saturation, DelayDueTimeTest,
    testing::Values(DueTimeCase{"largest amount of days", kIntMax, kDelayDays, kLongMin},
                    DueTimeCase{"largest amount in the largest unit", kIntMax, kIntMax, kLongMin},
                    DueTimeCase{"smallest amount in the largest unit", kIntMin, kIntMax, kLongMax},
                    DueTimeCase{"largest amount in the smallest unit", kIntMax, kIntMin, kLongMax},
                    DueTimeCase{"smallest amount of days", kIntMin, kDelayDays, kLongMax}));

}  // namespace
