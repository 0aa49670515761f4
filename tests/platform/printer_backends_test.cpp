// Both printers that write PDF files (through Qt, and directly) against the
// files they write: where text lands, when pages and jobs begin, and what
// each setting keeps. Read back with pdftotext -bbox and pdftoppm.
#include "platform/pdf/pdf_printer.h"
#include "platform/pdf/win_ansi.h"
#include "platform/qt/qt_printer.h"

#include "platform/code_page.h"
#include "platform/run_time_error.h"

#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace zlt;
using zlt::qt::PrinterDestination;
using zlt::qt::QtPrinter;

namespace {

struct Word {
    std::string text;
    double x, y;  // top left, points
    int page;
};

std::string runCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

std::vector<Word> words(const std::string& pdf)
{
    std::string html = runCommand("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    std::vector<Word> result;
    int page = 0;
    QRegularExpression re(QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    auto it = re.globalMatch(QString::fromStdString(html));
    while (it.hasNext()) {
        auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        result.push_back({m.captured(3).toStdString(), m.captured(1).toDouble(), m.captured(2).toDouble(), page});
    }
    return result;
}

const Word* find(const std::vector<Word>& all, const std::string& text)
{
    for (const Word& w : all)
        if (w.text == text)
            return &w;
    return nullptr;
}

enum class Kind { Qt, Direct };

std::unique_ptr<Printer> makePrinter(Kind kind, const fs::path& folder, const CodePage& codePage)
{
    if (kind == Kind::Qt)
        return std::make_unique<QtPrinter>(PrinterDestination{PrinterDestination::Kind::PdfFolder, "", folder}, codePage);
    return std::make_unique<pdf::PdfPrinter>(folder, *pdf::winAnsiTable(codePage));
}

class PdfPrinters : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override
    {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/')
                c = '-';
        folder = fs::temp_directory_path() / ("zlt-printer-" + std::to_string(getpid()) + "-" + name);
        fs::remove_all(folder);
        printer = makePrinter(GetParam(), folder, codePage);
        printer->setFontName("Courier New");
        printer->setFontSize(10);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::vector<std::string> files() const
    {
        std::vector<std::string> all;
        if (fs::exists(folder))
            for (const auto& e : fs::directory_iterator(folder))
                all.push_back(e.path().string());
        std::sort(all.begin(), all.end());
        return all;
    }
    // One call per character, as the print engine makes them; a line break
    // is one call of its own.
    void print(std::string_view text)
    {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text.substr(i, 2) == "\r\n") {
                printer->printText("\r\n");
                ++i;
            } else {
                printer->printText(text.substr(i, 1));
            }
        }
    }

    CodePage codePage{1252};
    fs::path folder;
    std::unique_ptr<Printer> printer;
};

}  // namespace

TEST_P(PdfPrinters, TextStartsTopLeftAndLineBreaksFollowTheFontHeight)
{
    printer->beginDocument();
    print("First");
    printer->setFontSize(16);
    print(" Big\r\n");
    print("Second\r\n");
    print("Third");
    printer->setFontSize(10);
    print("\r\nFourth\r\nFifth");
    printer->endDocument();
    auto all = words(files().at(0));
    const Word* first = find(all, "First");
    const Word* second = find(all, "Second");
    const Word* third = find(all, "Third");
    const Word* fourth = find(all, "Fourth");
    const Word* fifth = find(all, "Fifth");
    ASSERT_TRUE(first && second && third && fourth && fifth);
    // Near the page's top left corner: the printable area's edge, no margin of our own.
    EXPECT_LT(first->x, 30);
    EXPECT_LT(first->y, 40);
    EXPECT_DOUBLE_EQ(second->x, first->x);
    // Each break moves down one line height of the font current at the
    // break: 16 pt between the 16-pt lines, 10 pt between the 10-pt ones.
    double big = third->y - second->y;
    double small = fifth->y - fourth->y;
    EXPECT_GT(big, 16.0);
    EXPECT_LT(big, 20.0);
    EXPECT_NEAR(big / small, 1.6, 0.02);
    EXPECT_GT(fourth->y, third->y);
}

TEST_P(PdfPrinters, CharacterByCharacterTextLinesUpLikeOneRun)
{
    printer->beginDocument();
    print("ab cd\r\n");
    printer->printText("ab cd");
    printer->endDocument();
    auto all = words(files().at(0));
    ASSERT_EQ(all.size(), 4u);
    EXPECT_NEAR(all[1].x, all[3].x, 0.01);  // "cd" of both lines
    EXPECT_NEAR(all[1].x - all[0].x, 3 * 6.0, 0.05);  // three 6-pt cells of 10-pt Courier
}

TEST_P(PdfPrinters, LongJobsTurnThePageAndLongLinesAreClipped)
{
    printer->beginDocument();
    for (int i = 0; i < 150; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "row%03d\r\n", i);
        print(line);
    }
    print(std::string(200, 'x') + "END");
    printer->endDocument();
    auto all = words(files().at(0));
    const Word* row0 = find(all, "row000");
    const Word* last = find(all, "row149");
    ASSERT_TRUE(row0 && last);
    EXPECT_GE(last->page, 2);
    // The first row of every page is at the top again.
    int page = 1;
    for (const Word& w : all) {
        if (w.page != page) {
            page = w.page;
            EXPECT_NEAR(w.y, row0->y, 0.5) << w.text;
        }
    }
    EXPECT_EQ(find(all, "END"), nullptr);
}

TEST_P(PdfPrinters, EachDocumentIsOneFileAndEmptyDocumentsMakeNone)
{
    printer->beginDocument();
    print("one");
    printer->endDocument();
    printer->endDocument();  // a second end does nothing
    printer->beginDocument();
    printer->endDocument();  // nothing printed: no sheet
    printer->beginDocument();
    print("two");
    printer->endDocument();
    auto all = files();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(words(all[0]).at(0).text, "one");
    EXPECT_EQ(words(all[1]).at(0).text, "two");
}

TEST_P(PdfPrinters, AbandonedDocumentLeavesNoFile)
{
    printer->beginDocument();
    print("kept");
    printer->endDocument();
    printer->beginDocument();
    print("dropped");
    printer->abandonDocument();
    auto all = files();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(words(all[0]).at(0).text, "kept");
}

TEST_P(PdfPrinters, ColourHoldsAcrossDocumentsAndShowsOnPaper)
{
    printer->setColour(255);  // red
    printer->setFontSize(28);
    printer->setBold(true);
    printer->beginDocument();
    print("\xDB\xDB\xDB");  // "ÛÛÛ": a solid block of ink
    printer->endDocument();
    printer->beginDocument();
    print("MMM");
    printer->endDocument();
    auto all = files();
    ASSERT_EQ(all.size(), 2u);
    for (const std::string& pdf : all) {
        std::string png = pdf + "-page";
        runCommand("pdftoppm -r 72 -png -f 1 -l 1 '" + pdf + "' '" + png + "'");
        QImage image(QString::fromStdString(png + "-1.png"));
        ASSERT_FALSE(image.isNull()) << pdf;
        int red = 0, other = 0;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 120; ++x) {
                QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                    ++red;
                else if (c.red() < 200)
                    ++other;
            }
        }
        EXPECT_GT(red, 20) << pdf;
        EXPECT_EQ(other, 0) << pdf;
    }
}

TEST_P(PdfPrinters, HostBytesPrintInTheirCodePage)
{
    printer->beginDocument();
    print("caf\xE9 \x80 5");
    printer->endDocument();
    std::string text = runCommand("pdftotext '" + files().at(0) + "' -");
    EXPECT_NE(text.find("café € 5"), std::string::npos) << text;
}

TEST_P(PdfPrinters, UnwritableFolderIsAPrinterError)
{
    auto unwritable = makePrinter(GetParam(), "/proc/no-such-place", codePage);
    unwritable->beginDocument();
    unwritable->printText("x");
    try {
        unwritable->endDocument();
        FAIL() << "printed into /proc";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 482);
    }
}

INSTANTIATE_TEST_SUITE_P(Both, PdfPrinters, ::testing::Values(Kind::Qt, Kind::Direct),
                         [](const auto& info) { return std::string(info.param == Kind::Qt ? "Qt" : "Direct"); });

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
