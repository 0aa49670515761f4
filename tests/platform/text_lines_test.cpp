// Host text's lines, whole and read in pieces: both readings must agree,
// wherever the reader's buffer happens to end.
#include <gtest/gtest.h>

#include "platform/testing/memory_file_system.h"
#include "platform/text_lines.h"

namespace zlt {
namespace {

std::vector<std::string> readLines(const std::string& text, bool dropEndOfFileMark = false)
{
    testing::MemoryFileSystem fs;
    fs.addFile("/f", text);
    const auto file = fs.openRead("/f");
    LineReader reader(*file, dropEndOfFileMark);
    std::vector<std::string> lines;
    for (std::string_view line; reader.next(line);)
        lines.emplace_back(line);
    return lines;
}

TEST(TextLines, CrLfCrOrLfEndALineWhereverTheBufferEnds)
{
    const std::string longLine(70000, 'x');  // longer than the reader's buffer
    const std::pair<std::string, std::vector<std::string>> table[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},  // LF CR is two ends
        {std::string(65535, 'y') + "\r\nz", {std::string(65535, 'y'), "z"}},  // CR ends one buffer, LF opens the next
        {std::string(65535, 'y') + "\r", {std::string(65535, 'y')}},
        {longLine + "\n" + longLine, {longLine, longLine}},
        {"", {}},
    };
    for (const auto& [text, expected] : table) {
        EXPECT_EQ(readLines(text), expected) << text.size();
        const auto whole = textLines(text);
        EXPECT_EQ(std::vector<std::string>(whole.begin(), whole.end()), expected) << text.size();
    }
}

TEST(TextLines, ADosEndOfFileMarkIsNoTextOnlyAsTheLastByte)
{
    const std::tuple<std::string, bool, std::vector<std::string>> table[] = {
        {"a\r\nb\x1A", true, {"a", "b"}},
        {"a\r\n\x1A", true, {"a"}},
        {"\x1A", true, {}},
        {"a\x1A\r\nb", true, {"a\x1A", "b"}},
        {"a\r\n\x1A", false, {"a", "\x1A"}},
    };
    for (const auto& [text, drop, expected] : table)
        EXPECT_EQ(readLines(text, drop), expected) << text;
}

}  // namespace
}  // namespace zlt
