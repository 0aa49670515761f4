// The line-reading rule of a report load wherever the reads split the file; the 32-bit count of characters loaded.
#include "repview/viewer/report_lines.h"

#include "platform/run_time_error.h"

#include <gtest/gtest.h>

using namespace zlt::repview;

TEST(ReportLines, SameLinesWhereverTheReadsSplit)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}}, {"\r", {""}}, {"AB\r\nCD\r\n", {"AB", "CD"}}, {"A\nB\r\r\nC", {"A\nB", "", "C"}}, {"A\n\rB", {"A\n", "B"}},
        {std::string(">[BC]<\0\x0c\xe9\x80z\r\n", 11), {std::string(">[BC]<\0\x0c\xe9\x80z", 11)}},
        {std::string(9000, 'x') + "\r\nend", {std::string(9000, 'x'), "end"}},
    };
    for (const auto& [bytes, lines] : cases)
        // Reads of 1 and 2 bytes put each CR at the end of a read, its LF in the next.
        for (size_t bufferSize : {1, 2, 3, 5, 4096, 65536})
            EXPECT_EQ(reportLines(bytes, bufferSize), lines) << bytes.substr(0, 20) << " in reads of " << bufferSize;
}

TEST(LoadedChars, CountsUpToTheLimitThenOverflows)
{
    std::int32_t chars = 0x7ffffffa;
    addLoadedChars(chars, 5);
    EXPECT_EQ(chars, 0x7fffffff);
    for (size_t lineLength : {size_t{1}, size_t{1} << 32}) {  // one more; a line longer than 32 bits count
        try {
            addLoadedChars(chars, lineLength);
            ADD_FAILURE() << lineLength << " more went into 32 bits";
        } catch (const zlt::RunTimeError& e) {
            EXPECT_EQ(e.number(), zlt::error_number::Overflow);
        }
    }
}
