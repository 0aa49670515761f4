// The rich-text writer and appender, read back by independent readers:
// unrtf, and LibreOffice (also on a document it saved itself), through the
// HTML they write (html_paragraphs.py). Files that are no rich text refused.
#include "common/rtf/rtf_appender.h"
#include "common/rtf/rtf_scanner.h"
#include "platform/utf8.h"
#include "platform/posix/executable_search.h"
#include "platform/run_time_error.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace zlt;
using namespace zlt::rtf;
using zlt::testing::TempDir;

namespace {

const Font Times{"Times New Roman", FontFamily::Roman};

// Standard output of a program (found on PATH unless a path is given), run
// with a plain UTF-8 environment and its home in the folder.
std::string run(const TempDir& folder, const std::string& name, const std::vector<std::string>& arguments)
{
    const std::string program = name.starts_with('/') ? name : posix::findExecutable(name, "/usr/bin:/bin");
    const zlt::testing::ProgramResult result = zlt::testing::runProgram(
        program, arguments, {"PATH=/usr/bin:/bin", "HOME=" + folder.path().string(), "LANG=C.UTF-8"}, folder.path());
    EXPECT_EQ(result.exitStatus, 0) << name << ": " << result.standardError;
    return result.standardOutput;
}

// How unrtf or LibreOffice shows the HTML file it wrote (html_paragraphs.py).
std::string htmlParagraphs(const TempDir& folder, const std::string& reader, const std::string& htmlPath)
{
    return run(folder, "/usr/bin/python3", {ZLT_RTF_TEST_DIR "/html_paragraphs.py", reader, htmlPath});
}

std::string readWithUnrtf(const TempDir& folder, const std::string& rtf)
{
    const std::string html = run(folder, "unrtf", {"--html", folder.write("read.rtf", rtf)});
    return htmlParagraphs(folder, "unrtf", folder.write("read.html", html));
}

// The error number a call throws; 0 when it is accepted.
int errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

Writer withText(const std::string& text, int page = 1252, double points = 12, bool bold = false)
{
    Writer out(CodePage(page), Times);
    out.setPoints(points);
    out.setBold(bold);
    out.write(text);
    return out;
}

TEST(RtfWriter, TabsPagesAndCharactersBeyondSixteenBits)
{
    std::string out;
    appendEscaped(out, "Tab\there\f2", CodePage(1252), Escapes::Windows1252);
    appendEscapedCharacter(out, U'\uFB01', Escapes::Windows1252);      // \uN is signed: negative above 0x7FFF
    appendEscapedCharacter(out, U'\U0001F600', Escapes::Windows1252);  // a surrogate pair
    EXPECT_EQ(out, "Tab\\tab here\\page 2\\u-1279?\\u-10179?\\u-8704?");
}

TEST(RtfWriter, SizesInHalfPointsAndWhatCannotBeWritten)
{
    Writer out(CodePage(1252), Times);
    for (double points : {0.0, 0.99, 1638.5, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(errorOf([&] { out.setPoints(points); }), error_number::InvalidProcedureCall) << points;
    EXPECT_EQ(errorOf([&] { out.setFont(1); }), error_number::SubscriptOutOfRange);
    out.setPoints(10.5);
    out.write("x");
    EXPECT_EQ(out.fragment(), "{\\pard\\plain\\uc1\\ql\\f0\\fs21 x\\par\r\n}");
}

// CR LF, a lone CR and a lone LF are one break each, a CR LF split over
// writes too; an empty paragraph stays.
TEST(RtfWriter, LineBreaksEndParagraphs)
{
    Writer out(CodePage(1252), Times);
    for (const char* text : {"\r\na\rb\nc\r\n\r\nd\r", "", "\ne\n", "\nf"})
        out.write(text);
    TempDir folder("rtf-test");
    EXPECT_EQ(readWithUnrtf(folder, out.document()), "\na\nb\nc\n\nd\ne\n\nf\n");
}

// Each reads "Old" before the stamp, a paragraph of its own; all before the
// closing brace is kept, and all after it.
TEST(RtfAppender, StampGoesAfterTheTextOfEveryKindOfDocument)
{
    const std::pair<const char*, std::string> cases[] = {
        {"no paragraph end, NUL padding", "{\\rtf1\\ansi\\b\\fs32 Old}\r\n" + std::string(7, '\0')},
        {"paragraph end, end of file mark", "{\\rtf1\\ansi Old\\par\r\n}\r\n\x1A"},
        {"backslash line end as paragraph end", "{\\rtf1\\ansi Old\\\r\n}"},
        {"escaped braces and backslash", "{\\rtf1 Old\\par{\\*\\x \\{\\}\\\\}}"},
        {"\\bin data with braces", "{\\rtf1 Old{\\*\\blob\\bin6 }}{\\{}}\\par}"},
        {"information last", "{\\rtf1 Old\\par{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}}"},
        {"last paragraph in a group", "{\\rtf1 {\\pard\\b\\fs56 Old\\par}}"},
        {"word processor's tail, nested groups", "{\\rtf1{\\fonttbl{\\f0 Times;}}\\pard\\plain {\\insrsid1 O{\\b l}d}"
                                                "{\\insrsid1 \\par }{\\*\\themedata 504b}{\\*\\datastore 01}}\r\n"},
    };
    TempDir folder("rtf-test");
    for (const auto& [name, document] : cases) {
        SCOPED_TRACE(name);
        const std::string appended = appendParagraphs(document, withText("Stamp"));
        EXPECT_EQ(readWithUnrtf(folder, appended), "Old\nStamp\n") << appended;
        const std::size_t end = document.find_last_of('}');
        EXPECT_TRUE(appended.starts_with(document.substr(0, end)) && appended.ends_with(document.substr(end)));
        EXPECT_EQ(appendParagraphs(document, withText("")), document);  // nothing to add
    }
}

// é must read as é whatever the document declares: a \'e9 in a Cyrillic
// document reads as й. (LibreOffice reads both forms below.)
TEST(RtfAppender, CharactersFollowTheDocumentsCodePage)
{
    const std::pair<std::string, std::string> cases[] = {
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset0 Arial;}}Old\\par}", "\\'e9"},
        {"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0 Arial;}}Old\\par}", "\\u233?"},
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}Old\\par}", "\\u233?"},
        {"{\\rtf1\\mac\\ansicpg1252 Old\\par}", "\\u233?"},
        {"{\\rtf1\\ansi Old\\par}", "\\u233?"},
    };
    for (const auto& [document, escape] : cases) {
        const std::string appended = appendParagraphs(document, withText("Caf\x82 \xC4", 850));  // é ─ in 850
        EXPECT_NE(appended.find("Caf" + escape + " \\u9472?"), std::string::npos) << appended;
    }
}

// The fonts used besides font 0 (the document's default font) go into its
// table under unused numbers, in the table's older form too, or into a new
// table; fonts not used do not. (LibreOffice reads them from its own table.)
TEST(RtfAppender, AddsTheFontsItUsesToTheFontTable)
{
    Writer fixed(CodePage(1252), Times);
    fixed.addFont(Font{"Unused"});
    fixed.setFont(fixed.addFont(Font{"Courier New", FontFamily::Modern, true}));
    fixed.write("fixed");
    const std::string courier = "\\fmodern\\fprq1\\fcharset0 Courier New;", old = "Old\\par{\\pard\\plain\\uc1\\ql\\f";
    EXPECT_EQ(appendParagraphs("{\\rtf1\\deff0{\\fonttbl\\f0 Arial;\\f3 Symbol;}Old}", fixed),
              "{\\rtf1\\deff0{\\fonttbl\\f0 Arial;\\f3 Symbol;\\f4" + courier + "}" + old + "4\\fs24 fixed\\par\r\n}}");
    for (const auto& [deff, added] : {std::pair("5", "6"), std::pair("2147483647", "0")})  // past the largest number: the lowest free
        EXPECT_EQ(appendParagraphs("{\\rtf1\\deff" + std::string(deff) + " Old}", fixed),
                  "{\\rtf1\\deff" + std::string(deff) + " {\\fonttbl{\\f" + added + courier + "}}" + old + added + "\\fs24 fixed\\par\r\n}}");
}

TEST(RtfAppender, RefusesWhatIsNotOneCompleteRichTextDocument)
{
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"binary .doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12)},
        {"zip .docx", std::string("PK\x03\x04\x14\0\x06\0", 8) + "[Content_Types].xml"},
        {"white space first", " {\\rtf1 Old}"},
        {"not the rtf word", "{\\rtfx Old}"},
        {"a second document after the first", "{\\rtf1 Old}{\\rtf1 Two}"},
        {"\\bin without a length", "{\\rtf1 {\\bin ab}}"},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_EQ(errorOf([&] { appendParagraphs(bytes, withText("Stamp")); }), error_number::BadFileMode) << name;
    // Cut off anywhere before the closing brace: in \bin data, an escape,
    // a control word.
    const std::string document = appendParagraphs(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\blob\\bin3 }{}}Caf\\'e9 \\{\\u9472?\\par}", withText("Stamp"));
    EXPECT_NO_THROW(scanDocument(document));
    for (std::size_t length = 0; length < document.find_last_of('}'); ++length)
        EXPECT_EQ(errorOf([&] { appendParagraphs(document.substr(0, length), withText("Stamp")); }),
                  error_number::BadFileMode) << "cut at " << length;
}

// Every byte of a page but line breaks, tab and form feed, and the text it
// should read as: control bytes and bytes the page leaves undefined vanish;
// \ { } are text like any other.
Writer everyByte(const CodePage& page, std::string& expectedUtf8)
{
    Writer out(page, Times);
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t c = page.toUnicode(static_cast<unsigned char>(byte));
        if (byte != '\r' && byte != '\n' && byte != '\t' && byte != '\f')
            out.write(std::string(1, static_cast<char>(byte)));
        if (c >= 0x20 && !(c >= 0x7F && c < 0xA0))
            appendUtf8(expectedUtf8, c);
    }
    expectedUtf8 += '\n';
    return out;
}

// Notes (a centred heading, then a last paragraph bold, large and right-aligned:
// none of it may carry into what is added) stamped in 850 with typed text in a
// font of its own, then, as on a later visit, plain text alone.
std::string stampedNotes(const std::string& notes)
{
    Writer stamp = withText("Stamp \x82 \xC4", 850, 10, true);
    stamp.setBold(false);
    stamp.setFont(stamp.addFont(Font{"Courier New", FontFamily::Modern, true}));
    stamp.write(" typed\r\n");
    return appendParagraphs(appendParagraphs(notes, stamp), withText("typed later", 1252, 11));
}

// Three LibreOffice runs with a profile of their own for everything: our
// notes saved as RTF by it, then all converted to text and to HTML.
TEST(RtfLibreOffice, ShowsStampedNotesEveryByteAndAMailBody)
{
    TempDir folder("rtf-office-test");
    auto convert = [&](const std::string& format, std::vector<std::string> files, const char* outFolder) {
        files.insert(files.begin(), {"--headless", "--norestore", "--convert-to", format, "--outdir",
                                     folder / outFolder, "-env:UserInstallation=file://" + folder / "profile"});
        run(folder, "soffice", files);
    };
    Writer notes = withText("", 1252, 16, true);
    notes.setAlignment(Alignment::Centre);
    notes.write("Customer Account (2) - Jane {Citizen} \\ Caf\xE9\r\n");
    notes.setPoints(20);
    notes.setAlignment(Alignment::Right);
    notes.write("Last line big");
    convert("rtf", {folder.write("notes.rtf", notes.document())}, "saved");
    const std::string saved = zlt::testing::fileText(folder / "saved/notes.rtf");
    EXPECT_NE(saved.find("\\stylesheet"), std::string::npos) << saved;  // its own layout, not a copy of ours

    Writer body(CodePage(1252), Font{"Courier New", FontFamily::Modern, true});  // a mail body as dispatched
    body.setPoints(9.75);
    body.write("STOCK REPORT {week 7}\r\nItem\tQty \\ 5\r\n\fPage two\r\n");
    std::string expected;  // every byte of 1252, and of 850 added to it
    const std::string bytes = everyByte(CodePage(1252), expected).document();
    convert("txt:Text (encoded):UTF8",
            {folder.write("bytes.rtf", appendParagraphs(bytes, everyByte(CodePage(850), expected)))}, "out");
    convert("html", {folder.write("ours.rtf", stampedNotes(notes.document())),
                     folder.write("theirs.rtf", stampedNotes(saved)), folder.write("body.rtf", body.document())},
            "out");
    const std::string text = zlt::testing::fileText(folder / "out/bytes.txt");
    EXPECT_EQ(text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text, expected);
    auto paragraphs = [&](const std::string& name) {
        return htmlParagraphs(folder, "libreoffice", folder / ("out/" + name + ".html"));
    };
    // The stamp takes the document's default font (LibreOffice's own it names
    // in no run); the typed text the font added to the table.
    for (const auto& [name, font] : {std::pair{"ours", " Times New Roman"}, {"theirs", ""}})
        EXPECT_EQ(paragraphs(name), "center: [b16 Times New Roman]Customer Account (2) - Jane {Citizen} \\ Caf\u00E9\n"
                                    "right: [b20 Times New Roman]Last line big\n"
                                    "left: [b10" + std::string(font) + "]Stamp \u00E9 \u2500 [10 Courier New] typed\n"
                                    "left: [11" + std::string(font) + "]typed later\n") << name;
    EXPECT_EQ(paragraphs("body"), "left: [10 Courier New]STOCK REPORT {week 7}\n"
                                  "left: [10 Courier New]Item\tQty \\ 5\n"
                                  "left: [10 Courier New]Page two\n");
}

}  // namespace
