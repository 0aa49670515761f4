// The text written for the "EAN-13" barcode font. That every leading digit
// picks the right number sets shows where the printed symbols are scanned.
#include "repview/ean13.h"
#include "platform/run_time_error.h"
#include <gtest/gtest.h>

TEST(Ean13Text, KnownNumbersAndOddFields)
{
    const std::pair<const char*, const char*> cases[] = {
        {"590123412345", "&i@A23D|QRSTUw"}, {"000000000000", "!`00000|PPPPPp"},  // check digits 7, 0
        {"999999999999", "*iII9I9|YYYYYt"}, {"400638133393", "%`@63HA|SSSYSq"},  // 4, 1
        {"59012", "&i@A20@|PPPPPp"},         // cut short: no check digit, missing places count 0
        {"5901X3412345", "&i@A03D|QRSTUy"},  // other characters count 0, but for the second
        {"X90123412345", "!i|QRSTUr"},       // a leading non-digit leaves out the left half
    };
    for (const auto& [field, text] : cases)
        EXPECT_EQ(zlt::repview::ean13Text(field), text) << field;
    for (std::string field : {"", "5", "5X0123412345", "5 0123412345"}) {
        try {
            zlt::repview::ean13Text(field);
            ADD_FAILURE() << "\"" << field << "\" encoded";
        } catch (const zlt::RunTimeError& e) {
            EXPECT_EQ(e.number(), zlt::error_number::TypeMismatch);
            EXPECT_NE(std::string(e.what()).find("\"" + field + "\""), std::string::npos) << e.what();  // as the report has it
        }
    }
}
