// Paragraphs added to existing documents of every shape, read back by
// unrtf; and the files that are no rich text refused.
#include "common/rtf/rtf_appender.h"
#include "common/rtf/rtf_scanner.h"

#include "platform/run_time_error.h"
#include "tests/common/rtf/rtf_readers.h"

#include <gtest/gtest.h>

using namespace zlt;
using namespace zlt::rtf;
using namespace zlt::rtf::testing;

namespace {

const Font Times{"Times New Roman", FontFamily::Roman};

Writer stamp(const std::string& text, int page = 1252)
{
    Writer writer(CodePage(page), Times);
    writer.setPoints(10);
    writer.setBold(true);
    writer.write(text + "\r\n");
    return writer;
}

std::string ourDocument()
{
    Writer writer(CodePage(1252), Times);
    writer.setBold(true);
    writer.setPoints(16);
    writer.write("Old");
    return writer.document();
}

void expectRefused(const std::string& bytes, const std::string& name)
{
    try {
        appendParagraphs(bytes, stamp("Stamp"));
        ADD_FAILURE() << name << " accepted";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), error_number::BadFileMode) << name;
    }
}

// Each reads "Old" before the stamp, which is a paragraph of its own.
TEST(RtfAppender, StampGoesAfterTheTextOfEveryKindOfDocument)
{
    const std::pair<const char*, std::string> cases[] = {
        {"ours", ourDocument()},
        {"ours, CR LF and NUL after the brace", ourDocument() + "\r\n" + std::string(7, '\0')},
        {"no paragraph end", "{\\rtf1\\ansi Old}"},
        {"paragraph end, end of file mark", "{\\rtf1\\ansi Old\\par\r\n}\r\n\x1A"},
        {"backslash line end as paragraph end", "{\\rtf1\\ansi Old\\\r\n}"},
        {"nested groups", "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\b{\\i O}{ld}}}"},
        {"escaped braces and backslash", "{\\rtf1 O\\{l\\}d\\\\}"},
        {"\\bin data with braces", "{\\rtf1 Old{\\*\\blob\\bin6 }}{\\{}}\\par}"},
        {"optional destination last", "{\\rtf1 Old\\par{\\*\\bkmkend x}}"},
        {"information last", "{\\rtf1 Old\\par{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}}"},
        {"last paragraph in a group", "{\\rtf1 {\\pard\\b\\fs56 Old\\par}}"},
        {"formatting after the text", "{\\rtf1 Old\\b\\fs40\\qc}"},
        {"word processor's tail",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}}{\\*\\generator W;}"
         "\\pard\\plain {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid1 Old}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
         "\\insrsid1 \\par }{\\*\\themedata 504b0304}{\\*\\datastore 0105}}\r\n"},
    };
    TempDir folder("rtf-test");
    for (const auto& [name, document] : cases) {
        const std::string expected = name == std::string("escaped braces and backslash") ? "O{l}d\\" : "Old";
        const std::string appended = appendParagraphs(document, stamp("Stamp"));
        EXPECT_EQ(readWithUnrtf(folder, appended), expected + "\nStamp\n") << name << ": " << appended;
    }
}

// é must read as é whatever the document declares: a \'e9 in a Cyrillic
// document reads as й.
TEST(RtfAppender, CharactersFollowTheDocumentsCodePage)
{
    const std::pair<std::string, std::string> cases[] = {
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset0 Arial;}}Old\\par}", "\\'e9"},
        {"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0 Arial;}}Old\\par}", "\\u233?"},
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}Old\\par}", "\\u233?"},
        {"{\\rtf1\\mac\\ansicpg1252 Old\\par}", "\\u233?"},
        {"{\\rtf1\\ansi Old\\par}", "\\u233?"},
    };
    TempDir folder("rtf-test");
    for (const auto& [document, escape] : cases) {
        const std::string appended = appendParagraphs(document, stamp("Caf\x82 \xC4", 850));  // é ─ in 850
        EXPECT_NE(appended.find("Caf" + escape + " \\u9472?"), std::string::npos) << appended;
        EXPECT_EQ(readWithUnrtf(folder, appended), "Old\nCaf\u00E9 \u2500\n") << document;
    }
}

// Fonts other than the default go into the document's table under new
// numbers; font 0 is the document's default font.
TEST(RtfAppender, AddsTheFontsItUsesToTheFontTable)
{
    const std::pair<std::string, std::string> cases[] = {
        {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f3\\froman Symbol;}}\\f0 Old\\par}", "Arial"},
        {"{\\rtf1\\ansi\\deff0{\\fonttbl\\f0\\fswiss Arial;\\f1\\froman Symbol;}\\f0 Old\\par}", "Arial"},  // older form
        {"{\\rtf1\\ansi\\deff5 Old\\par}", ""},                                                          // no table
    };
    TempDir folder("rtf-test");
    for (const auto& [document, defaultFont] : cases) {
        Writer writer(CodePage(1252), Times);
        const std::size_t mono = writer.addFont(Font{"Courier New", FontFamily::Modern, true});
        writer.addFont(Font{"Unused"});
        writer.write("default ");
        writer.setFont(mono);
        writer.write("fixed");
        const std::string appended = appendParagraphs(document, writer);
        EXPECT_EQ(appended.find("Unused"), std::string::npos) << appended;
        EXPECT_EQ(readWithUnrtf(folder, appended, "fonts"),
                  ": [0 " + defaultFont + "]Old\n: [0 " + defaultFont + "]default  [0 Courier New]fixed\n:\n")
            << appended;
    }
}

TEST(RtfAppender, KeepsWhatFollowsTheClosingBrace)
{
    const std::string tail = std::string("  \r\n\t\x1A\0\0", 8);
    const std::string document = ourDocument() + tail;
    EXPECT_EQ(appendParagraphs(document, Writer(CodePage(1252), Times)), document);
    const std::string appended = appendParagraphs(document, stamp("Stamp"));
    EXPECT_TRUE(appended.starts_with(ourDocument().substr(0, ourDocument().size() - 1))) << appended;
    EXPECT_TRUE(appended.ends_with("}}" + tail)) << appended;
}

TEST(RtfAppender, RefusesWhatIsNotOneCompleteRichTextDocument)
{
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"plain text", "Old notes\r\n"},
        {"binary .doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12)},
        {"zip .docx", std::string("PK\x03\x04\x14\0\x06\0", 8) + "[Content_Types].xml"},
        {"white space first", " {\\rtf1 Old}"},
        {"not the rtf word", "{\\rtfx Old}"},
        {"one brace too many", "{\\rtf1 Old}}"},
        {"text after the end", "{\\rtf1 Old}More"},
        {"a second document after the first", "{\\rtf1 Old}{\\rtf1 Two}"},
        {"\\bin without a length", "{\\rtf1 {\\bin ab}}"},
    };
    for (const auto& [name, bytes] : cases)
        expectRefused(bytes, name);
    // Cut off anywhere before the closing brace: in \bin data, an escape,
    // a control word.
    const std::string document = appendParagraphs(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\blob\\bin3 }{}}Caf\\'e9 \\{\\u9472?\\par}", stamp("Stamp"));
    EXPECT_NO_THROW(scanDocument(document));
    for (std::size_t length = 0; length < document.find_last_of('}'); ++length)
        expectRefused(document.substr(0, length), "cut at " + std::to_string(length));
}

}  // namespace
