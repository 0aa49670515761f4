// Our documents, and a document LibreOffice saved itself, stamped and read
// back by LibreOffice: three LibreOffice runs for all of them (save as RTF,
// then convert everything to text and to HTML).
#include "common/rtf/rtf_appender.h"

#include "tests/common/rtf/rtf_readers.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zlt;
using namespace zlt::rtf;
using namespace zlt::rtf::testing;

namespace {

const Font Times{"Times New Roman", FontFamily::Roman};
const std::string Heading = "Customer Account (2) - Jane {Citizen} \\ Caf\xE9";
const std::string HeadingUtf8 = "Customer Account (2) - Jane {Citizen} \\ Caf\u00E9";

// A heading, then a last paragraph that is bold, large and right-aligned
// and has no paragraph end: nothing of it may carry into a stamp.
std::string notesDocument()
{
    Writer writer(CodePage(1252), Times);
    writer.setBold(true);
    writer.setPoints(16);
    writer.setAlignment(Alignment::Centre);
    writer.write(Heading + "\r\n");
    writer.setPoints(20);
    writer.setAlignment(Alignment::Right);
    writer.write("Last line big");
    return writer.document();
}

// The stamp in 850: é and a box-drawing line.
Writer stamp()
{
    Writer writer(CodePage(850), Times);
    writer.setPoints(10);
    writer.setBold(true);
    writer.write("Stamp \x82 \xC4");
    writer.setBold(false);
    writer.write(" typed\r\n");
    return writer;
}

std::string everyByte(const CodePage& page, std::string& expectedUtf8)
{
    Writer writer(page, Font{"Arial", FontFamily::Swiss});
    std::string line;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == '\r' || byte == '\n' || byte == '\t' || byte == '\f')
            continue;
        line += static_cast<char>(byte);
        const char32_t c = page.toUnicode(static_cast<unsigned char>(byte));
        if (c >= 0x20 && !(c >= 0x7F && c < 0xA0))
            appendUtf8(expectedUtf8, c);
        if (byte % 32 == 31) {
            writer.write(line + "\r\n");
            expectedUtf8 += "\n";
            line.clear();
        }
    }
    return writer.document();
}

// A mail body as the mail dispatcher saves it: fixed pitch at 9.75 points.
std::string mailBody()
{
    Writer writer(CodePage(1252), Font{"Courier New", FontFamily::Modern, true});
    writer.setPoints(9.75);
    writer.write("STOCK REPORT {week 7}\r\nItem\tQty \\ 5\r\n\fPage two\r\n");
    return writer.document();
}

class LibreOfficeReadBack : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<TempFolder>();
        const TempFolder& f = *folder_;
        writeFile(f / "notes.rtf", notesDocument());
        writeFile(f / "every-1252.rtf", everyByte(CodePage(1252), expected1252_));
        writeFile(f / "every-850.rtf", everyByte(CodePage(850), expected850_));
        writeFile(f / "body.rtf", mailBody());
        std::filesystem::create_directory(f / "saved");
        std::filesystem::create_directory(f / "out");
        ASSERT_TRUE(convertWithLibreOffice(f, "rtf", {f / "notes.rtf"}, f / "saved"));
        savedByLibreOffice_ = readFile(f / "saved/notes.rtf");
        ASSERT_TRUE(savedByLibreOffice_.starts_with("{\\rtf1")) << "LibreOffice saved no RTF";
        writeFile(f / "ours-stamped.rtf", appendParagraphs(notesDocument(), stamp()));
        writeFile(f / "theirs-stamped.rtf", appendParagraphs(savedByLibreOffice_, stamp()));
        const std::vector<std::string> files = {f / "ours-stamped.rtf", f / "theirs-stamped.rtf", f / "every-1252.rtf",
                                                f / "every-850.rtf", f / "body.rtf"};
        ASSERT_TRUE(convertWithLibreOffice(f, "txt:Text (encoded):UTF8", files, f / "out"));
        ASSERT_TRUE(convertWithLibreOffice(f, "html", files, f / "out"));
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static std::string text(const std::string& name)
    {
        std::string bytes = readFile(*folder_ / ("out/" + name + ".txt"));
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.erase(0, 3);
        return bytes;
    }
    static std::vector<ReadParagraph> paragraphs(const std::string& name)
    {
        return htmlParagraphs("libreoffice", *folder_ / ("out/" + name + ".html"));
    }

    // The heading, the big last line and the stamp with the text after it.
    static void expectStampedNotes(const std::string& name)
    {
        EXPECT_EQ(text(name), HeadingUtf8 + "\nLast line big\nStamp \u00E9 \u2500 typed\n");
        const auto read = paragraphs(name);
        ASSERT_EQ(read.size(), 3u) << name;
        EXPECT_EQ(read[0].alignment, "center");
        ASSERT_FALSE(read[0].runs.empty());
        EXPECT_TRUE(read[0].runs[0].bold);
        EXPECT_EQ(read[0].runs[0].points, 16);
        EXPECT_EQ(read[1].alignment, "right");
        ASSERT_FALSE(read[1].runs.empty());
        EXPECT_EQ(read[1].runs[0].points, 20);
        EXPECT_EQ(read[2].alignment, "left");
        ASSERT_EQ(read[2].runs.size(), 2u) << name;
        EXPECT_EQ(read[2].runs[0].text, "Stamp \u00E9 \u2500");
        EXPECT_TRUE(read[2].runs[0].bold);
        EXPECT_EQ(read[2].runs[0].points, 10);
        EXPECT_EQ(read[2].runs[1].text, " typed");
        EXPECT_FALSE(read[2].runs[1].bold);
        EXPECT_EQ(read[2].runs[1].points, 10);
    }

    static inline std::unique_ptr<TempFolder> folder_;
    static inline std::string savedByLibreOffice_;
    static inline std::string expected1252_;
    static inline std::string expected850_;
};

TEST_F(LibreOfficeReadBack, EveryByteOfAPageShowsAsThePageMeansIt)
{
    EXPECT_EQ(text("every-1252"), expected1252_);
    EXPECT_EQ(text("every-850"), expected850_);
}

TEST_F(LibreOfficeReadBack, StampAfterOurOwnDocument)
{
    expectStampedNotes("ours-stamped");
}

TEST_F(LibreOfficeReadBack, StampAfterADocumentLibreOfficeSaved)
{
    // Its own structure (style sheet, \deff other than 0, no \ansicpg),
    // not a copy of ours.
    EXPECT_NE(savedByLibreOffice_.find("\\stylesheet"), std::string::npos);
    expectStampedNotes("theirs-stamped");
}

TEST_F(LibreOfficeReadBack, MailBodyInFixedPitchAtTenPoints)
{
    EXPECT_EQ(text("body"), "STOCK REPORT {week 7}\nItem\tQty \\ 5\nPage two\n");
    const auto read = paragraphs("body");
    ASSERT_EQ(read.size(), 3u);
    for (const ReadParagraph& paragraph : read) {
        ASSERT_FALSE(paragraph.runs.empty());
        EXPECT_EQ(paragraph.runs.back().font, "Courier New") << paragraph.text();
        EXPECT_EQ(paragraph.runs.back().points, 10) << paragraph.text();
        EXPECT_FALSE(paragraph.runs.back().bold) << paragraph.text();
    }
}

}  // namespace
