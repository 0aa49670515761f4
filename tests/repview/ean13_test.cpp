// Check digits and the text written for the "EAN-13" font.
#include "repview/ean13.h"

#include "platform/run_time_error.h"

#include <gtest/gtest.h>

using namespace zlt::repview;

namespace {

struct Example {
    std::string digits;
    std::string withCheck;
    std::string text;
};

const Example Examples[] = {
    {"590123412345", "5901234123457", "&i@A23D|QRSTUw"},
    {"000000000000", "0000000000000", "!`00000|PPPPPp"},
    {"999999999999", "9999999999994", "*iII9I9|YYYYYt"},
    {"400638133393", "4006381333931", "%`@63HA|SSSYSq"},
    // Every leading digit picks its own number sets for the left half.
    {"123456789012", "1234567890128", "\"b3D5FG|XYPQRx"},
    {"212345678901", "2123456789010", "#a2CD5F|WXYPQp"},
    {"312345678901", "3123456789019", "$a2CDE6|WXYPQy"},
    {"612345678901", "6123456789016", "'aBCD56|WXYPQv"},
    {"712345678901", "7123456789015", "(aB3D5F|WXYPQu"},
    {"812345678901", "8123456789014", ")aB3DE6|WXYPQt"},
    // Fewer than 12 characters: no check digit, missing positions count 0.
    {"59012", "59012", "&i@A20@|PPPPPp"},
    // Characters other than digits count 0 (except the second).
    {"5901X3412345", "5901X34123459", "&i@A03D|QRSTUy"},
    // A leading non-digit leaves out the five left-half characters.
    {"X90123412345", "X901234123452", "!i|QRSTUr"},
};

}  // namespace

TEST(EncodeEan13, ExamplesAndOddFields)
{
    for (const Example& e : Examples) {
        RepviewState state;
        state.BarcodeDigits = e.digits;
        EncodeEan13(state);
        EXPECT_EQ(state.BarcodeDigits, e.withCheck) << e.digits;
        EXPECT_EQ(state.BarcodeText, e.text) << e.digits;
    }
}

TEST(EncodeEan13, CheckDigitMatchesTheStandardForRandomNumbers)
{
    // Independent formula: the check digit makes the weighted sum of all 13 a multiple of 10.
    unsigned seed = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string digits;
        for (int i = 0; i < 12; ++i) {
            seed = seed * 1103515245u + 12345u;
            digits += static_cast<char>('0' + (seed >> 16) % 10);
        }
        RepviewState state;
        state.BarcodeDigits = digits;
        EncodeEan13(state);
        ASSERT_EQ(state.BarcodeDigits.size(), 13u);
        int sum = 0;
        for (int i = 0; i < 13; ++i)
            sum += (state.BarcodeDigits[i] - '0') * (i % 2 == 0 ? 1 : 3);
        EXPECT_EQ(sum % 10, 0) << state.BarcodeDigits;
        EXPECT_EQ(state.BarcodeText.size(), 14u);
    }
}

TEST(EncodeEan13, SecondCharacterMustBeADigit)
{
    for (std::string digits : {"", "5", "5X0123412345", "5 0123412345", "]<12345678"}) {
        RepviewState state;
        state.BarcodeDigits = digits;
        try {
            EncodeEan13(state);
            ADD_FAILURE() << "\"" << digits << "\" encoded";
        } catch (const zlt::RunTimeError& e) {
            EXPECT_EQ(e.number(), 13);
        }
    }
}
