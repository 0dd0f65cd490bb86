// The exact decimal digit generator against the exact expansion the C library prints with many
// digits, rounded halfway away from zero here.

#include "FormatRandom.h"

#include "text/DecimalDigits.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

namespace {

const int kCases = 4000;

// Keeps the first keep digits, rounded by the next one; a carry out of the first digit
// prepends a 1.
std::string RoundHalfAway(const std::string& digits, std::size_t keep)
{
    std::string kept = digits.substr(0, keep);
    if (keep >= digits.size() || digits[keep] < '5')
        return kept;
    std::size_t i = keep;
    while (i > 0 && kept[i - 1] == '9')
        kept[--i] = '0';
    if (i == 0)
        return "1" + kept;
    ++kept[i - 1];
    return kept;
}

double RandomValue(CFormatRandom& random)
{
    switch (random.Range(0, 2)) {
    case 0: return random.AnyDouble();
    case 1: return random.Decimal();
    default: return random.Scaled(-80, 120);
    }
}

TEST(FormatDigits, SignificantDigitsMatchTheExactExpansion)
{
    CFormatRandom random;
    SCOPED_TRACE("FORMAT_TEST_SEED=" + std::to_string(random.Seed()));
    // No double has more than 767 significant digits, so 800 print it exactly.
    static char exact[900];
    for (int i = 0; i < kCases; ++i) {
        double value = RandomValue(random);
        int count = random.Chance(90) ? random.Range(1, 25) : random.Range(26, CDecimalDigits::kMaxDigits);
        std::snprintf(exact, sizeof exact, "%.800e", std::fabs(value));
        std::string all = exact[0] + std::string(exact + 2, std::strchr(exact, 'e'));
        int point = std::atoi(std::strchr(exact, 'e') + 1) + 1;
        std::string expected = RoundHalfAway(all, count);
        if (expected.size() > std::size_t(count)) {
            expected.resize(count);
            ++point;
        }
        if (value == 0)
            point = 1;

        CDecimalDigits digits;
        ASSERT_EQ(digits.GenerateSignificant(value, count), 1);
        SCOPED_TRACE(exact);
        ASSERT_EQ(digits.Digits(), expected) << "count " << count;
        ASSERT_EQ(digits.Count(), count);
        ASSERT_EQ(digits.Point(), point) << "count " << count;
        ASSERT_EQ(digits.Negative(), std::signbit(value));
    }
}

TEST(FormatDigits, FixedDigitsMatchTheExactExpansion)
{
    CFormatRandom random;
    SCOPED_TRACE("FORMAT_TEST_SEED=" + std::to_string(random.Seed()));
    // The smallest double has 1074 digits after the point, so 1100 print every double exactly.
    static char exact[1500];
    for (int i = 0; i < kCases; ++i) {
        double value = RandomValue(random);
        int decimals = random.Chance(90) ? random.Range(0, 30) : random.Range(31, CDecimalDigits::kMaxDigits);
        std::snprintf(exact, sizeof exact, "%.1100f", std::fabs(value));
        std::string text = exact;
        std::size_t dot = text.find('.');
        std::string integer = text.substr(0, dot) == "0" ? "" : text.substr(0, dot);

        CDecimalDigits digits;
        int result = digits.GenerateFixed(value, decimals);
        SCOPED_TRACE(exact);
        if (integer.size() + decimals > std::size_t(CDecimalDigits::kMaxDigits)) {
            ASSERT_EQ(result, 0) << "decimals " << decimals;
            continue;
        }
        std::string expected = RoundHalfAway(integer + text.substr(dot + 1), integer.size() + decimals);
        expected.erase(0, expected.find_first_not_of('0') == std::string::npos ? expected.size()
                                                                                : expected.find_first_not_of('0'));
        ASSERT_EQ(result, 1);
        ASSERT_EQ(digits.Digits(), expected) << "decimals " << decimals;
        ASSERT_EQ(digits.Count(), static_cast<int>(expected.size()));
        ASSERT_EQ(digits.Point(), static_cast<int>(expected.size()) - decimals);
        ASSERT_EQ(digits.Negative(), std::signbit(value));
    }
}

struct DigitsCase {
    double value;
    int request;
    const char* digits;
    int point;
};

TEST(FormatDigits, HalvesCarriesAndZero)
{
    const DigitsCase fixed[] = {
        {0.125, 2, "13", 0}, {2.5, 0, "3", 1},   {0.5, 0, "1", 1},      {0.4, 0, "", 0},
        {0.96, 1, "10", 1},   {0.04, 1, "", -1},  {0.0, 3, "", -3},      {-0.0, 0, "", 0},
        {999.5, 0, "1000", 4}, {1e22, 0, "10000000000000000000000", 23},
    };
    for (const DigitsCase& row : fixed) {
        SCOPED_TRACE(testing::Message() << "fixed " << row.value << " " << row.request);
        CDecimalDigits digits;
        ASSERT_EQ(digits.GenerateFixed(row.value, row.request), 1);
        EXPECT_STREQ(digits.Digits(), row.digits);
        EXPECT_EQ(digits.Point(), row.point);
    }
    const DigitsCase significant[] = {
        {9.99, 2, "10", 2}, {0.0, 3, "000", 1}, {1.125, 3, "113", 1}, {0.000123456, 3, "123", -3},
        {5e-324, 1, "5", -323}, {1.7976931348623157e308, 3, "180", 309},
    };
    for (const DigitsCase& row : significant) {
        SCOPED_TRACE(testing::Message() << "significant " << row.value << " " << row.request);
        CDecimalDigits digits;
        ASSERT_EQ(digits.GenerateSignificant(row.value, row.request), 1);
        EXPECT_STREQ(digits.Digits(), row.digits);
        EXPECT_EQ(digits.Point(), row.point);
    }
    CDecimalDigits digits;
    ASSERT_EQ(digits.GenerateFixed(-0.0, 1), 1);
    EXPECT_TRUE(digits.Negative());
}

TEST(FormatDigits, RequestsBeyond350DigitsFail)
{
    CDecimalDigits digits;
    EXPECT_EQ(digits.GenerateFixed(1e300, 49), 1);
    EXPECT_EQ(digits.Count(), 350);
    EXPECT_EQ(digits.GenerateFixed(1e300, 50), 0);
    EXPECT_EQ(digits.GenerateFixed(0.5, 350), 1);
    EXPECT_EQ(digits.GenerateFixed(0.5, 351), 0);
    EXPECT_EQ(digits.GenerateSignificant(1.0, 350), 1);
    EXPECT_EQ(digits.Count(), 350);
    EXPECT_EQ(digits.GenerateSignificant(1.0, 351), 0);
    EXPECT_EQ(digits.GenerateSignificant(1.0, 0), 0);
    EXPECT_EQ(digits.GenerateFixed(1.0, -1), 0);
    EXPECT_EQ(digits.GenerateFixed(std::numeric_limits<double>::infinity(), 2), 0);
    EXPECT_EQ(digits.GenerateSignificant(std::numeric_limits<double>::quiet_NaN(), 2), 0);
}

} // namespace
