// The writer's escapes and line breaks; what it writes read back by unrtf.
#include "common/rtf/rtf_writer.h"

#include "platform/run_time_error.h"
#include "tests/common/rtf/rtf_readers.h"

#include <gtest/gtest.h>

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
        {1252, "a\\b{x}", Escapes::Windows1252, "a\\\\b\\{x\\}"},
        {1252, "Tab\there\f2", Escapes::Windows1252, "Tab\\tab here\\page 2"},
        {1252, std::string("\x00\x01\x1B\x1F\x7F", 5), Escapes::Windows1252, ""},  // printer codes
        {1252, "\x81\x8D\x9D", Escapes::Windows1252, ""},                          // undefined in 1252
        {1252, "Caf\xE9 \x80\x99", Escapes::Windows1252, "Caf\\'e9 \\'80\\'99"},
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
    std::string out;
    appendEscapedCharacter(out, U'\uFB01', Escapes::Windows1252);      // above 0x7FFF: negative
    appendEscapedCharacter(out, U'\U0001F600', Escapes::Windows1252);  // a surrogate pair
    EXPECT_EQ(out, "\\u-1279?\\u-10179?\\u-8704?");
}

TEST(RtfWriter, EveryByteOfAPageReadsBackAsThePageMeansIt)
{
    TempDir folder("rtf-test");
    for (int number : {1252, 437, 850}) {
        std::string expected;
        const std::string document = everyByte(CodePage(number), expected);
        EXPECT_EQ(readWithUnrtf(folder, document), expected) << number;
    }
}

TEST(RtfWriter, LineBreaksEndParagraphs)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"a\r\nb"}, "a\nb\n"},
        {{"a\nb"}, "a\nb\n"},
        {{"a\rb"}, "a\nb\n"},
        {{"a\r", "", "\nb"}, "a\nb\n"},  // CR LF split over writes is one break
        {{"a\n", "\nb"}, "a\n\nb\n"},
        {{"a\r\n\r\nb\r\n"}, "a\n\nb\n"},
        {{"\r\nb"}, "\nb\n"},
        {{"a", "b\r\n"}, "ab\n"},
    };
    TempDir folder("rtf-test");
    for (const auto& [writes, expected] : cases) {
        Writer writer(CodePage(1252), Times);
        for (const std::string& text : writes)
            writer.write(text);
        EXPECT_EQ(readWithUnrtf(folder, writer.document()), expected) << writes[0];
    }
}

TEST(RtfWriter, SizesInHalfPointsAndWhatCannotBeWritten)
{
    for (const auto& [points, word] : {std::pair{9.75, "\\fs20 x"}, {10.5, "\\fs21 x"}, {16.0, "\\fs32 x"}}) {
        Writer writer(CodePage(1252), Times);
        writer.setPoints(points);
        writer.write("x");
        EXPECT_NE(writer.fragment().find(word), std::string::npos) << points << ": " << writer.fragment();
    }
    Writer writer(CodePage(1252), Times);
    for (double points : {0.0, 0.99, 1638.5, std::numeric_limits<double>::quiet_NaN()}) {
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
    EXPECT_EQ(writer.fragment(), "");
}

}  // namespace
