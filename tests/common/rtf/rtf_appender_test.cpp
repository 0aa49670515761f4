// Paragraphs added to existing documents of every shape, read back by
// unrtf; and the files that are no rich text refused.
#include "common/rtf/rtf_appender.h"

#include "platform/run_time_error.h"
#include "tests/common/rtf/rtf_readers.h"

#include <gtest/gtest.h>

using namespace zlt;
using namespace zlt::rtf;
using namespace zlt::rtf::testing;

namespace {

const Font Times{"Times New Roman", FontFamily::Roman};

Writer stamp(const std::string& text)
{
    Writer writer(CodePage(1252), Times);
    writer.setPoints(10);
    writer.setBold(true);
    writer.write(text);
    writer.setBold(false);
    writer.write("\r\n");
    return writer;
}

std::string ourDocument()
{
    Writer writer(CodePage(1252), Times);
    writer.setBold(true);
    writer.setPoints(16);
    writer.setAlignment(Alignment::Centre);
    writer.write("Old");
    return writer.document();
}

// Each document reads "Old" (and nothing else) before the stamp.
TEST(RtfAppender, StampGoesAfterTheTextOfEveryKindOfDocument)
{
    struct Case {
        const char* name;
        std::string document;
    };
    const Case cases[] = {
        {"ours", ourDocument()},
        {"ours, CR LF after the brace", ourDocument() + "\r\n"},
        {"NUL padding", ourDocument() + std::string(7, '\0')},
        {"no paragraph end", "{\\rtf1\\ansi Old}"},
        {"paragraph end", "{\\rtf1\\ansi Old\\par}"},
        {"paragraph end, end of file mark", "{\\rtf1\\ansi Old\\par\r\n}\r\n\x1A"},
        {"backslash line end as paragraph end", "{\\rtf1\\ansi Old\\\r\n}"},
        {"nested groups", "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\b{\\i O}{ld}}}"},
        {"escaped braces", "{\\rtf1 O\\{l\\}d\\}}"},
        {"escaped backslash", "{\\rtf1 Old\\\\}"},
        {"\\bin data with braces", "{\\rtf1 Old{\\*\\blob\\bin6 }}{\\{}}\\par}"},
        {"optional destination last", "{\\rtf1 Old\\par{\\*\\bkmkend x}}"},
        {"non-body destination last", "{\\rtf1 Old\\par{\\info{\\title T}}}"},
        {"style sheet last", "{\\rtf1 Old\\par{\\stylesheet{\\s0 Normal;}}}"},
        {"last paragraph in a group", "{\\rtf1 {\\pard\\b\\fs56 Old\\par}}"},
        {"no \\par, formatting after the text", "{\\rtf1 Old\\b\\fs40\\qc}"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        std::string expected = c.name == std::string("escaped braces") ? "O{l}d}" : "Old";
        if (c.name == std::string("escaped backslash"))
            expected = "Old\\";
        const std::string appended = appendParagraphs(c.document, stamp("Stamp"));
        const auto paragraphs = readWithUnrtf(folder, appended);
        EXPECT_EQ(textOf(paragraphs), expected + "\nStamp\n") << c.name << ": " << appended;
        // The stamp starts from plain 10 point text (which unrtf shows
        // without a size), whatever the document's last text was.
        int stamps = 0;
        for (const ReadParagraph& paragraph : paragraphs)
            for (const ReadRun& run : paragraph.runs)
                if (run.text == "Stamp") {
                    ++stamps;
                    EXPECT_TRUE(run.bold) << c.name;
                    EXPECT_LE(run.points, 10) << c.name;
                }
        EXPECT_EQ(stamps, 1) << c.name;
    }
}

TEST(RtfAppender, StampsFollowEachOtherWithoutBlankLines)
{
    std::string document = ourDocument();
    for (const char* text : {"one", "two", "three"})
        document = appendParagraphs(document, stamp(text));
    TempFolder folder;
    const auto paragraphs = readWithUnrtf(folder, document);
    EXPECT_EQ(textOf(paragraphs), "Old\none\ntwo\nthree\n");
    ASSERT_GE(paragraphs.size(), 4u);
    EXPECT_TRUE(paragraphs[0].runs[0].bold);
    EXPECT_EQ(paragraphs[0].runs[0].points, 16);
    EXPECT_TRUE(paragraphs[3].runs[0].bold);
    EXPECT_NE(paragraphs[3].runs[0].points, 16);
}

TEST(RtfAppender, AppendedTextIsNotBoldWhenTheDocumentEndsBold)
{
    Writer writer(CodePage(1252), Times);
    writer.write("plain after");
    TempFolder folder;
    const auto paragraphs =
        readWithUnrtf(folder, appendParagraphs("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\qc\\b\\fs56 Old}", writer));
    ASSERT_GE(paragraphs.size(), 2u);
    EXPECT_EQ(paragraphs[1].text(), "plain after");
    EXPECT_FALSE(paragraphs[1].runs[0].bold);
}

// é must read as é whatever code page and default font the document
// declares; a \'e9 in a Cyrillic document would read as й.
TEST(RtfAppender, CharactersFollowTheDocumentsCodePage)
{
    const std::pair<std::string, std::string> cases[] = {
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset0 Arial;}}Old\\par}", "\\'e9"},
        {"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0 Arial;}}Old\\par}", "\\u233?"},
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}Old\\par}", "\\u233?"},
        {"{\\rtf1\\mac\\ansicpg1252 Old\\par}", "\\u233?"},
        {"{\\rtf1\\ansi Old\\par}", "\\u233?"},
    };
    TempFolder folder;
    for (const auto& [document, escape] : cases) {
        Writer writer(CodePage(850), Times);
        writer.write("Caf\x82 \xC4");  // é and a box-drawing line in 850
        const std::string appended = appendParagraphs(document, writer);
        EXPECT_NE(appended.find("Caf" + escape + " \\u9472?"), std::string::npos) << appended;
        EXPECT_EQ(textOf(readWithUnrtf(folder, appended)), "Old\nCaf\u00E9 \u2500\n") << document;
    }
}

// A font other than the default goes into the document's font table under a
// number of its own; the document's own text keeps its font.
TEST(RtfAppender, AddsTheFontsItUsesToTheFontTable)
{
    const std::string documents[] = {
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f3\\froman Symbol;}}\\f0 Old\\par}",
        "{\\rtf1\\ansi\\deff0{\\fonttbl\\f0\\fswiss Arial;\\f1\\froman Symbol;}\\f0 Old\\par}",  // the older form
        "{\\rtf1\\ansi\\deff5 Old\\par}",                                                       // no table at all
    };
    TempFolder folder;
    for (const std::string& document : documents) {
        Writer writer(CodePage(1252), Times);
        const std::size_t mono = writer.addFont(Font{"Courier New", FontFamily::Modern, true});
        writer.addFont(Font{"Unused"});
        writer.write("default ");
        writer.setFont(mono);
        writer.write("fixed");
        const std::string appended = appendParagraphs(document, writer);
        EXPECT_EQ(appended.find("Unused"), std::string::npos) << appended;
        const auto paragraphs = readWithUnrtf(folder, appended);
        EXPECT_EQ(textOf(paragraphs), "Old\ndefault fixed\n") << appended;
        ASSERT_GE(paragraphs.size(), 2u);
        ASSERT_EQ(paragraphs[1].runs.size(), 2u) << appended;
        EXPECT_EQ(paragraphs[1].runs[1].font, "Courier New") << appended;
        EXPECT_NE(paragraphs[1].runs[0].font, "Courier New") << appended;
        EXPECT_NE(paragraphs[0].runs[0].font, "Courier New") << appended;
    }
}

TEST(RtfAppender, EmptyWriterLeavesTheDocumentAsItWas)
{
    const std::string document = ourDocument() + "\r\n";
    EXPECT_EQ(appendParagraphs(document, Writer(CodePage(1252), Times)), document);
}

TEST(RtfAppender, RefusesWhatIsNotOneCompleteRichTextDocument)
{
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"plain text", "Old notes\r\n"},
        {"binary .doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12)},
        {"zip .docx", std::string("PK\x03\x04\x14\0\x06\0", 8) + "[Content_Types].xml"},
        {"white space first", " {\\rtf1 Old}"},
        {"not the rtf word", "{\\rtfx Old}"},
        {"cut off", "{\\rtf1 {\\b Old}"},
        {"one brace too many", "{\\rtf1 Old}}"},
        {"text after the end", "{\\rtf1 Old}More"},
        {"a second document after the first", "{\\rtf1 Old}{\\rtf1 Two}"},
        {"escaped closing brace only", "{\\rtf1 Old\\}"},
        {"ends in a backslash", "{\\rtf1 Old\\"},
        {"\\bin past the end", "{\\rtf1 {\\bin99 ab}}"},
        {"\\bin without a length", "{\\rtf1 {\\bin ab}}"},
    };
    for (const Case& c : cases) {
        try {
            appendParagraphs(c.bytes, stamp("Stamp"));
            ADD_FAILURE() << c.name << " accepted";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), error_number::BadFileMode) << c.name;
            EXPECT_NE(e.description().find("not a rich-text document"), std::string::npos) << c.name;
        }
    }
}

}  // namespace
