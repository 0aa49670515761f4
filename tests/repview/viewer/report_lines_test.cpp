// The line-reading rule of a report load, wherever the reads split the file.
#include "repview/viewer/report_lines.h"

#include "platform/run_time_error.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zlt::repview;

namespace {

struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

const Case Cases[] = {
    {"EmptyFileHasNoLine", "", {}},
    {"FinalCrLfAddsNoEmptyLine", "0123456789\r\n0123456789\r\n0123456789\r\n", {"0123456789", "0123456789", "0123456789"}},
    {"LastLineWithoutTerminator", "AB\r\nCD", {"AB", "CD"}},
    {"LoneLfStaysInsideTheLine", "A\nB\nC\n", {"A\nB\nC\n"}},
    {"LoneCrEndsALine", "A\rB\rC", {"A", "B", "C"}},
    {"CrCrLfIsTwoLines", "A\r\r\nB", {"A", "", "B"}},
    {"LfCrIsLfInsideThenAnEnd", "A\n\rB", {"A\n", "B"}},
    {"OnlyCrLf", "\r\n", {""}},
    {"TwoCrLf", "\r\n\r\n", {"", ""}},
    {"OnlyCr", "\r", {""}},
    {"EmptyLinesBetween", "A\r\n\r\n\rB\r\n", {"A", "", "", "B"}},
    {"CodesAndBytesAsTheyAre", std::string(">[BC]<\0\x0c\xe9\x80z\r\n", 11), {std::string(">[BC]<\0\x0c\xe9\x80z", 11)}},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ReportLinesCase : public ::testing::TestWithParam<Case> {};

TEST_P(ReportLinesCase, SameLinesWhereverTheReadsSplit)
{
    const Case& c = GetParam();
    // 1 and 2 put every CR at the end of a read, with its LF in the next one.
    for (size_t bufferSize : {size_t{1}, size_t{2}, size_t{3}, size_t{5}, size_t{65536}})
        EXPECT_EQ(reportLines(c.bytes, bufferSize), c.lines) << "reads of " << bufferSize << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Lines, ReportLinesCase, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReportLines, LineLongerThanManyReads)
{
    std::string longLine(200000, 'x');
    longLine[1000] = '\n';
    EXPECT_EQ(reportLines(longLine + "\r\nend", 4096), (std::vector<std::string>{longLine, "end"}));
}

TEST(ReportLines, ReadFailureReachesTheCaller)
{
    int reads = 0;
    ReportLineReader reader([&](char* buffer, size_t) -> size_t {
        if (++reads > 1)
            throw zlt::RunTimeError(57, "Device I/O error");
        buffer[0] = 'A';
        return 1;
    });
    ASSERT_FALSE(reader.atEnd());
    EXPECT_THROW(reader.nextLine(), zlt::RunTimeError);
}

TEST(LoadedChars, CountsUpToTheLimitThenOverflows)
{
    std::int32_t chars = 0;
    addLoadedChars(chars, 10);
    EXPECT_EQ(chars, 10);
    chars = std::numeric_limits<std::int32_t>::max() - 5;
    addLoadedChars(chars, 5);
    EXPECT_EQ(chars, std::numeric_limits<std::int32_t>::max());
    try {
        addLoadedChars(chars, 1);
        FAIL() << "no overflow";
    } catch (const zlt::RunTimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_EQ(chars, std::numeric_limits<std::int32_t>::max());
}

}  // namespace
