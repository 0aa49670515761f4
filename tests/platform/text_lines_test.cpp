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

// A DOS end-of-file mark (Ctrl-Z) is no text only as the last byte, and only where the reader is told to drop it.
TEST(TextLines, CrLfCrOrLfEndALineWhereverTheBufferEnds)
{
    const std::string longLine(70000, 'x');  // longer than the reader's buffer
    const std::tuple<std::string, bool, std::vector<std::string>> table[] = {  // text, drop the mark, lines
        {"a\r\nb\r\n", false, {"a", "b"}},
        {"a\rb\nc", false, {"a", "b", "c"}},
        {"\r\n\r\n", false, {"", ""}},
        {"a\n\rb", false, {"a", "", "b"}},  // LF CR is two ends
        {std::string(65535, 'y') + "\r\nz", false, {std::string(65535, 'y'), "z"}},  // CR ends one buffer, LF opens the next
        {std::string(65535, 'y') + "\r", false, {std::string(65535, 'y')}},
        {longLine + "\n" + longLine, false, {longLine, longLine}},
        {"", false, {}},
        {"a\r\n\x1A", false, {"a", "\x1A"}},
        {"a\r\nb\x1A", true, {"a", "b"}}, {"a\r\n\x1A", true, {"a"}}, {"\x1A", true, {}}, {"a\x1A\r\nb", true, {"a\x1A", "b"}},
    };
    for (const auto& [text, drop, expected] : table) {
        EXPECT_EQ(readLines(text, drop), expected) << text.size();
        if (const auto whole = textLines(text); !drop) {
            EXPECT_EQ(std::vector<std::string>(whole.begin(), whole.end()), expected) << text.size();
        }
    }
}

}  // namespace
}  // namespace zlt
