// Header text a recipient's program reads without the message's server:
// the Date header's calendar arithmetic.
#include <gtest/gtest.h>

#include "platform/mail/mail_header_text.h"

namespace zlt::mail {
namespace {

TEST(MailHeaderText, DateIsTheWallClockOfItsOffsetWithEnglishNames)
{
    struct Case {
        std::int64_t unixSeconds;
        int offsetSeconds;
        const char* expected;
    };
    const Case table[] = {
        {0, 0, "Thu, 01 Jan 1970 00:00:00 +0000"},
        {-1, 0, "Wed, 31 Dec 1969 23:59:59 +0000"},
        {951782400, 3600, "Tue, 29 Feb 2000 01:00:00 +0100"},    // leap day of a 400-year leap year
        {4107542400, 0, "Mon, 01 Mar 2100 00:00:00 +0000"},      // 2100 has no 29 February
        {1700000000, -12600, "Tue, 14 Nov 2023 18:43:20 -0330"},
        {1735689599, 19800, "Wed, 01 Jan 2025 05:29:59 +0530"},  // the offset carries into the new year
    };
    for (const auto& test : table)
        EXPECT_EQ(formatMailDate(test.unixSeconds, test.offsetSeconds), test.expected) << test.unixSeconds;
}

}  // namespace
}  // namespace zlt::mail
