// Our documents, and one LibreOffice saved itself, stamped and read back by
// LibreOffice: three runs of it for everything (save as RTF, then convert
// all to text and to HTML).
#include "common/rtf/rtf_appender.h"

#include "tests/common/rtf/rtf_readers.h"

#include <gtest/gtest.h>

using namespace zlt;
using namespace zlt::rtf;
using namespace zlt::rtf::testing;

namespace {

const Font Times{"Times New Roman", FontFamily::Roman};

// A heading, then a last paragraph that is bold, large and right-aligned
// and has no paragraph end: nothing of it may carry into what is added.
std::string notesDocument()
{
    Writer writer(CodePage(1252), Times);
    writer.setBold(true);
    writer.setPoints(16);
    writer.setAlignment(Alignment::Centre);
    writer.write("Customer Account (2) - Jane {Citizen} \\ Caf\xE9\r\n");
    writer.setPoints(20);
    writer.setAlignment(Alignment::Right);
    writer.write("Last line big");
    return writer.document();
}

// A stamp in 850 with the text after it, then, as on a later visit,
// plain text alone.
std::string stamped(const std::string& document)
{
    Writer stamp(CodePage(850), Times);
    stamp.setPoints(10);
    stamp.setBold(true);
    stamp.write("Stamp \x82 \xC4");
    stamp.setBold(false);
    stamp.write(" typed\r\n");
    Writer later(CodePage(1252), Times);
    later.setPoints(11);
    later.write("typed later");
    return appendParagraphs(appendParagraphs(document, stamp), later);
}

// A mail body as the dispatcher saves it: fixed pitch at 9.75 points.
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
        folder_ = new TempDir("rtf-office-test");
        const TempDir& f = *folder_;
        std::filesystem::create_directory(f / "saved");
        convertWithLibreOffice(f, "rtf", {f.write("notes.rtf", notesDocument())}, f / "saved");
        saved_ = zlt::testing::fileText(f / "saved/notes.rtf");
        const std::vector<std::string> files = {
            f.write("ours.rtf", stamped(notesDocument())),
            f.write("theirs.rtf", stamped(saved_)),
            f.write("every-1252.rtf", everyByte(CodePage(1252), expected1252_)),
            f.write("every-850.rtf", everyByte(CodePage(850), expected850_)),
            f.write("body.rtf", mailBody()),
        };
        convertWithLibreOffice(f, "txt:Text (encoded):UTF8", files, f / "out");
        convertWithLibreOffice(f, "html", files, f / "out");
    }
    static void TearDownTestSuite() { delete folder_; }

    static std::string text(const std::string& name)
    {
        const std::string bytes = zlt::testing::fileText(*folder_ / ("out/" + name + ".txt"));
        return bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    }
    static std::string paragraphs(const std::string& name, const std::string& view)
    {
        return htmlParagraphs(*folder_, "libreoffice", view, *folder_ / ("out/" + name + ".html"));
    }

    static void expectStampedNotes(const std::string& name)
    {
        EXPECT_EQ(text(name), "Customer Account (2) - Jane {Citizen} \\ Caf\u00E9\nLast line big\n"
                              "Stamp \u00E9 \u2500 typed\ntyped later\n");
        EXPECT_EQ(paragraphs(name, "runs"), "center: [b16]Customer Account (2) - Jane {Citizen} \\ Caf\u00E9\n"
                                                     "right: [b20]Last line big\n"
                                                     "left: [b10]Stamp \u00E9 \u2500 [10] typed\n"
                                                     "left: [11]typed later\n");
    }

    static inline TempDir* folder_ = nullptr;
    static inline std::string saved_, expected1252_, expected850_;
};

TEST_F(LibreOfficeReadBack, EveryByteOfAPageShowsAsThePageMeansIt)
{
    EXPECT_EQ(text("every-1252"), expected1252_);
    EXPECT_EQ(text("every-850"), expected850_);
}

TEST_F(LibreOfficeReadBack, StampAfterOurOwnDocument)
{
    expectStampedNotes("ours");
}

TEST_F(LibreOfficeReadBack, StampAfterADocumentLibreOfficeSaved)
{
    // Its own layout (style sheet, no \ansicpg), not a copy of ours.
    EXPECT_NE(saved_.find("\\stylesheet"), std::string::npos) << saved_;
    expectStampedNotes("theirs");
}

TEST_F(LibreOfficeReadBack, MailBodyInFixedPitchAtTenPoints)
{
    EXPECT_EQ(text("body"), "STOCK REPORT {week 7}\nItem\tQty \\ 5\nPage two\n");
    EXPECT_EQ(paragraphs("body", "fonts"), "left: [10 Courier New]STOCK REPORT {week 7}\n"
                                                  "left: [10 Courier New]Item\tQty \\ 5\n"
                                                  "left: [10 Courier New]Page two\n");
}

}  // namespace
