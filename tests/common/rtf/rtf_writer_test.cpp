// The writer's escapes, line breaks and formatting, read back by unrtf.
#include "common/rtf/rtf_writer.h"

#include "platform/run_time_error.h"
#include "tests/common/rtf/rtf_readers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zlt;
using namespace zlt::rtf;
using namespace zlt::rtf::testing;

namespace {

const Font Times{"Times New Roman", FontFamily::Roman};

TEST(RtfEscapes, Table)
{
    struct Case {
        int page;
        std::string host;
        Escapes escapes;
        std::string expected;
    };
    const Case cases[] = {
        {1252, "a\\b", Escapes::Windows1252, "a\\\\b"},
        {1252, "{x}", Escapes::Windows1252, "\\{x\\}"},
        {1252, "Tab\there", Escapes::Windows1252, "Tab\\tab here"},
        {1252, "1\f2", Escapes::Windows1252, "1\\page 2"},
        {1252, std::string("\x00\x01\x1B\x1F\x7F", 5), Escapes::Windows1252, ""},  // printer codes
        {1252, "\x81\x8D\x9D", Escapes::Windows1252, ""},                          // undefined in 1252
        {1252, "Caf\xE9", Escapes::Windows1252, "Caf\\'e9"},
        {1252, "\x80\x99", Escapes::Windows1252, "\\'80\\'99"},
        {1252, "Caf\xE9 \x80", Escapes::Unicode, "Caf\\u233? \\u8364?"},
        {850, "\xC4\xDB", Escapes::Windows1252, "\\u9472?\\u9608?"},  // box drawing
        {850, "\x82\x9C", Escapes::Windows1252, "\\'e9\\'a3"},         // é £ are in 1252
        {437, "\xC9\xCD\xBB", Escapes::Windows1252, "\\u9556?\\u9552?\\u9559?"},
        {1251, "\xFF", Escapes::Windows1252, "\\u1103?"},
    };
    for (const Case& c : cases) {
        std::string out;
        appendEscaped(out, c.host, CodePage(c.page), c.escapes);
        EXPECT_EQ(out, c.expected) << c.page << " " << c.host;
    }
}

TEST(RtfEscapes, CharactersAboveSigned16BitsAndOutsideTheBasicPlane)
{
    const std::pair<char32_t, std::string> cases[] = {
        {U'\uFB01', "\\u-1279?"},
        {U'\U0001F600', "\\u-10179?\\u-8704?"},  // a surrogate pair
    };
    for (const auto& [c, expected] : cases) {
        std::string out;
        appendEscapedCharacter(out, c, Escapes::Windows1252);
        EXPECT_EQ(out, expected) << static_cast<unsigned long>(c);
    }
}

// Every byte of three pages, written and read back: what the page means
// is what unrtf shows, and control bytes never show.
TEST(RtfWriter, EveryByteOfAPageReadsBackAsThePageMeansIt)
{
    TempFolder folder;
    for (int number : {1252, 437, 850}) {
        const CodePage page(number);
        Writer writer(page, Times);
        std::string expected;
        std::string line;
        for (int byte = 0; byte < 256; ++byte) {
            if (byte == '\r' || byte == '\n' || byte == '\t' || byte == '\f')
                continue;
            line += static_cast<char>(byte);
            const char32_t c = page.toUnicode(static_cast<unsigned char>(byte));
            if (c >= 0x20 && !(c >= 0x7F && c < 0xA0))
                appendUtf8(expected, c);
            if (byte % 32 == 31) {
                writer.write(line + "\r\n");
                expected += "\n";
                line.clear();
            }
        }
        EXPECT_EQ(textOf(readWithUnrtf(folder, writer.document())), expected) << "page " << number;
    }
}

TEST(RtfWriter, LineBreaksEndParagraphs)
{
    struct Case {
        std::vector<std::string> writes;
        std::string expected;  // as unrtf shows it
    };
    const Case cases[] = {
        {{"a\r\nb"}, "a\nb\n"},
        {{"a\nb"}, "a\nb\n"},
        {{"a\rb"}, "a\nb\n"},
        {{"a\r", "\nb"}, "a\nb\n"},  // CR LF split over two writes is one break
        {{"a\r", "", "\nb"}, "a\nb\n"},
        {{"a\n", "\nb"}, "a\n\nb\n"},
        {{"a\r\n\r\nb\r\n"}, "a\n\nb\n"},
        {{"\r\nb"}, "\nb\n"},
        {{"a", "b\r\n"}, "ab\n"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        Writer writer(CodePage(1252), Times);
        std::string joined;
        for (const std::string& text : c.writes) {
            writer.write(text);
            joined += text + "|";
        }
        EXPECT_EQ(textOf(readWithUnrtf(folder, writer.document())), c.expected) << joined;
    }
}

TEST(RtfWriter, TextWithAndWithoutAFinalBreakIsOneParagraph)
{
    Writer withBreak(CodePage(1252), Times);
    withBreak.write("line\r\n");
    Writer without(CodePage(1252), Times);
    without.write("line");
    EXPECT_EQ(withBreak.document(), without.document());
    TempFolder folder;
    const auto paragraphs = readWithUnrtf(folder, without.document());
    ASSERT_FALSE(paragraphs.empty());
    EXPECT_EQ(paragraphs[0].text(), "line");
}

// The notes heading and a stamp: bold, size and font as unrtf reads them.
TEST(RtfWriter, FormattingReadsBack)
{
    Writer writer(CodePage(1252), Times);
    const std::size_t mono = writer.addFont(Font{"Courier New", FontFamily::Modern, true});
    writer.setBold(true);
    writer.setPoints(16);
    writer.write("Heading");
    writer.setAlignment(Alignment::Centre);
    writer.setPoints(10);
    writer.write("\r\n\r\n");
    writer.write("01/02/2024 10:11:12");
    writer.setAlignment(Alignment::Left);
    writer.setBold(false);
    writer.write(" plain ");
    writer.setFont(mono);
    writer.write("fixed");

    TempFolder folder;
    const auto paragraphs = readWithUnrtf(folder, writer.document());
    ASSERT_GE(paragraphs.size(), 3u);
    ASSERT_EQ(paragraphs[0].runs.size(), 1u);
    EXPECT_TRUE(paragraphs[0].runs[0].bold);
    EXPECT_EQ(paragraphs[0].runs[0].points, 16);
    EXPECT_EQ(paragraphs[0].runs[0].font, "Times New Roman");
    EXPECT_EQ(paragraphs[1].text(), "");
    ASSERT_EQ(paragraphs[2].runs.size(), 3u);
    EXPECT_TRUE(paragraphs[2].runs[0].bold);
    EXPECT_EQ(paragraphs[2].runs[0].text, "01/02/2024 10:11:12");
    EXPECT_FALSE(paragraphs[2].runs[1].bold);
    EXPECT_EQ(paragraphs[2].runs[1].text, " plain ");
    EXPECT_EQ(paragraphs[2].runs[2].font, "Courier New");
    EXPECT_FALSE(paragraphs[2].runs[2].bold);
}

TEST(RtfWriter, SizesAreWrittenInHalfPoints)
{
    const std::pair<double, std::string> cases[] = {{9.75, "\\fs20 "}, {10, "\\fs20 "}, {10.5, "\\fs21 "}, {16, "\\fs32 "}, {1638, "\\fs3276 "}};
    for (const auto& [points, word] : cases) {
        Writer writer(CodePage(1252), Times);
        writer.setPoints(points);
        writer.write("x");
        EXPECT_NE(writer.fragment().find(word + "x"), std::string::npos) << points << ": " << writer.fragment();
    }
}

TEST(RtfWriter, RefusesSizesAndFontsItCannotWrite)
{
    Writer writer(CodePage(1252), Times);
    for (double points : {0.0, 0.99, 1638.5, -12.0, std::numeric_limits<double>::quiet_NaN()}) {
        try {
            writer.setPoints(points);
            ADD_FAILURE() << points << " points accepted";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), error_number::InvalidProcedureCall) << points;
        }
    }
    try {
        writer.setFont(1);
        ADD_FAILURE() << "a font the table lacks accepted";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), error_number::SubscriptOutOfRange);
    }
}

TEST(RtfWriter, EmptyWriterHasNoFragmentButAWholeDocument)
{
    Writer writer(CodePage(1252), Times);
    EXPECT_TRUE(writer.empty());
    EXPECT_EQ(writer.fragment(), "");
    TempFolder folder;
    EXPECT_EQ(textOf(readWithUnrtf(folder, writer.document())), "");
    writer.write("\r\n");
    EXPECT_FALSE(writer.empty());
}

}  // namespace
