#include "common/leading_number.h"

#include <gtest/gtest.h>

#include "platform/run_time_error.h"

namespace zlt {
namespace {

// Numbers as the host writes them in a dictionary or a version text:
// leading number, blanks anywhere, rounded half to even into 16 bits.
TEST(LeadingNumber, BlanksAnywhereAndRoundedHalfToEven)
{
    const struct {
        std::string text;
        double number;
        int rounded;  // -99999: overflow
    } cases[] = {
        {"8.5", 8.5, 8}, {"7.5", 7.5, 8}, {" 1 2", 12, 12}, {"  7", 7, 7}, {"7  ", 7, 7}, {"-2.5", -2.5, -2},
        {"12abc", 12, 12}, {"abc", 0, 0}, {"", 0, 0}, {".5", 0.5, 0}, {"1E3", 1000, 1000}, {"1d2", 100, 100},
        {"+3", 3, 3}, {"32767", 32767, 32767}, {"32768", 32768, -99999}, {"-32768.5", -32768.5, -32768},
        {"9E9", 9e9, -99999}, {"1e-999", 0, 0}, {"9.0", 9, 9}, {"1.5.5", 1.5, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(leadingNumber(c.text), c.number);
        try {
            EXPECT_EQ(roundedToInteger(leadingNumber(c.text)), c.rounded);
        } catch (const RunTimeError& error) {
            EXPECT_EQ(c.rounded, -99999);
            EXPECT_EQ(error.number(), error_number::Overflow);
        }
    }
}

}  // namespace
}  // namespace zlt
