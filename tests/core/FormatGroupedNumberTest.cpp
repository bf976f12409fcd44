#include "core/FormatGroupedNumber.h"

#include "XStringPrinter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace
{
TEST(FormatGroupedNumberTest, GroupsDigitsAndKeepsTheSign)
{
    struct Case
    {
        double value;
        int32_t decimals;
        bool trim;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {1234567.891, 2, false, "1,234,567.89"},
        {-1234.5, 2, false, "-1,234.50"},
        {999, 2, false, "999.00"},
        {-0.001, 2, false, "-0.00"},
        {1234.5, 12, false, "1,234.50"}, // out of range: two decimals
        {1234.5, -1, false, "1,234.50"},
        {1234567, 0, false, "1,234,567"}, // no decimals: grouped from the end
        {100000, 0, false, "100,000"},
        {1.25, 4, true, "1.25"},
        {1.234, 4, true, "1.2340"},
        {1.25, 4, false, "1.2500"},
        {1.5, 2, true, "1.50"}, // trim needs more than two decimals
        {0.0, 2, false, "0.00"},
        {std::numeric_limits<double>::infinity(), 2, false, "inf"},
    };
    for (const Case& c : cases)
    {
        XString out("stale");
        FormatGroupedNumber(out, c.value, c.decimals, c.trim);
        EXPECT_EQ(out, c.expected) << c.value << " with " << c.decimals;
    }
}
} // namespace
