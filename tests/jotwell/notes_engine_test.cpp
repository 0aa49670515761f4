// The notes engine behind Word's object model, driven by Jotwell's routine
// on real folders: the documents it writes and appends to read back by
// unrtf and LibreOffice (paragraphs, bold, sizes, alignment, the background
// picture in a PDF), and the calls it refuses.
#include <gtest/gtest.h>

#include <sstream>

#include "jotwell/run_jotwell.h"
#include "platform/posix/locale_date_time_format.h"
#include "platform/posix/posix_file_system.h"
#include "platform/host_files.h"
#include "platform/posix/executable_search.h"
#include "platform/testing/fixed_clock.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_message_box.h"
#include "platform/testing/recording_opener.h"
#include "platform/testing/recording_window_system.h"
#include "engines/notes/rtf_word_application.h"
#include "tests/support/program_run.h"

namespace zlt::jotwell {
namespace {

using zlt::testing::fileText;
using zlt::testing::TempDir;

// A host tree with drive C: on `root` and the real engine on `files`.
struct NotesDesk {
    NotesDesk(FileSystem& fileSystem, const std::string& root) : files(fileSystem, DriveMap::parse("C=" + root, "/"), &page) {}

    int run(const std::string& line, LocalTime time, const std::string& programDirectory = ZLT_BIN_DIR)
    {
        clock.set(time);
        JotwellPlatform platform{messages, [this] { return makeRtfWordApplication(files, &opener, page, paper); }, windows,
                                 clock, *format, page, programDirectory, &errors};
        return runJotwell(line, platform);
    }

    CodePage page{1252};
    Paper paper;
    HostFiles files;
    zlt::testing::RecordingOpener opener;
    std::vector<std::string> log;
    zlt::testing::RecordingWindowSystem windows{log};
    zlt::testing::RecordingMessageBox messages;
    zlt::testing::FixedClock clock;
    std::unique_ptr<DateTimeFormat> format = makeLocaleDateTimeFormat({});
    std::ostringstream errors;
};

std::string run(const TempDir& folder, const std::string& name, const std::vector<std::string>& arguments)
{
    const std::string program = name.starts_with('/') ? name : posix::findExecutable(name, "/usr/bin:/bin");
    const auto result = zlt::testing::runProgram(
        program, arguments, {"PATH=/usr/bin:/bin", "HOME=" + folder.path().string(), "LANG=C.UTF-8"}, folder.path());
    EXPECT_EQ(result.exitStatus, 0) << name << ": " << result.standardError;
    return result.standardOutput;
}

void convert(const TempDir& folder, const std::string& format, std::vector<std::string> files, const std::string& out)
{
    files.insert(files.begin(), {"--headless", "--norestore", "--convert-to", format, "--outdir", folder / out,
                                 "-env:UserInstallation=file://" + folder / "profile"});
    run(folder, "soffice", files);
}

// "center: [b16 Times New Roman]text" a paragraph (html_paragraphs.py); the
// picture's header paragraph left out.
std::string paragraphs(const TempDir& folder, const std::string& reader, const std::string& html)
{
    std::string text = run(folder, "/usr/bin/python3", {ZLT_SOURCE_DIR "/tests/common/rtf/html_paragraphs.py", reader, html});
    return text.starts_with(":\n") ? text.substr(2) : text;
}

const std::string Heading = "center: [b16 Times New Roman]Customer Account (2) - Jane Citizen\n";
std::string stampLine(int minute)
{
    return "left: [b10 Times New Roman]12/07/26 13:0" + std::to_string(minute) + ":09\n";
}

// Three runs on one record, one on others: a lower-case code, a name that
// looks like RTF, no picture beside the program; then notes LibreOffice saved
// itself, stamped once more.
TEST(JotwellNotesEngine, WordProcessorsShowWhatThreeRunsWrote)
{
    TempDir dir("jotwell-engine");
    std::filesystem::create_directories(dir.path() / "c/ZLT/Notes");
    const auto fileSystem = makeFileSystem();
    NotesDesk desk(*fileSystem, dir / "c");
    const std::string notes = dir / "c/ZLT/Notes/";
    for (int minute = 1; minute <= 3; ++minute)
        EXPECT_EQ(desk.run("C:\\zlt\\notes\\,CS000002.DOC,Jane Citizen", {2026, 12, 7, 13, minute, 9}), 0);
    desk.paper = paperNamed("letter");
    desk.run("c:\\ZLT\\NOTES\\,cs000003.rtf,Jane", {2026, 12, 7, 13, 4, 9});
    desk.run("C:\\ZLT\\NOTES\\,ST000120.DOC,{\\rtf1 Caf\xC3\xA9}\\par \\'41", {2026, 12, 7, 13, 5, 9}, dir / "nowhere");
    EXPECT_EQ(desk.opener.opened, (std::vector<std::string>{notes + "CS000002.DOC", notes + "CS000002.DOC",
                                                            notes + "CS000002.DOC", notes + "cs000003.rtf",
                                                            notes + "ST000120.DOC"}));
    EXPECT_EQ(desk.errors.str(), "");

    convert(dir, "rtf", {notes + "CS000002.DOC"}, "saved");
    std::filesystem::copy_file(dir.path() / "saved/CS000002.rtf", notes + "XX000009.DOC");
    desk.run("C:\\ZLT\\NOTES\\,XX000009.DOC,Saved by LibreOffice", {2026, 12, 7, 13, 6, 9});
    convert(dir, "html", {notes + "CS000002.DOC", notes + "cs000003.rtf", notes + "ST000120.DOC", notes + "XX000009.DOC"},
            "html");
    const std::string threeRuns = Heading + "center:\ncenter:\n" + stampLine(1) + stampLine(2) + "left:\n" + stampLine(3) + "left:\n";
    EXPECT_EQ(paragraphs(dir, "libreoffice", dir / "html/CS000002.html"), threeRuns);
    EXPECT_EQ(paragraphs(dir, "libreoffice", dir / "html/cs000003.html"), "center:\ncenter:\n" + stampLine(4));
    EXPECT_EQ(paragraphs(dir, "libreoffice", dir / "html/ST000120.html"),
              "center: [b16 Times New Roman]Stock item (120) - {\\rtf1 Caf\u00E9}\\par \\'41\ncenter:\ncenter:\n" + stampLine(5));
    // LibreOffice's own RTF, with its header paragraph and its default font
    // (which it names in no run).
    EXPECT_EQ(paragraphs(dir, "libreoffice", dir / "html/XX000009.html"),
              "left:\n" + threeRuns + "left: [b10]12/07/26 13:06:09\nleft:\n");

    const std::string html = run(dir, "unrtf", {"--html", notes + "CS000002.DOC"});
    EXPECT_EQ(paragraphs(dir, "unrtf", dir.write("unrtf.html", html)),
              "Customer Account (2) - Jane Citizen\n\n\n12/07/26 13:01:09\n12/07/26 13:02:09\n\n12/07/26 13:03:09\n");

    // The picture is printed with the page, on the paper set, whole and in
    // its own proportions; none when it was not there.
    convert(dir, "pdf", {notes + "CS000002.DOC", notes + "cs000003.rtf", notes + "ST000120.DOC"}, "pdf");
    for (const std::string paper : {"A4", "letter"}) {
        const std::string pdf = dir / (paper == "A4" ? "pdf/CS000002.pdf" : "pdf/cs000003.pdf");
        EXPECT_NE(run(dir, "pdfinfo", {pdf}).find("(" + paper + ")"), std::string::npos) << paper;
        std::istringstream images(run(dir, "pdfimages", {"-list", pdf}));
        std::string heading, rule, type, colour, encoding, interpolated;
        int page = 0, number = 0, width = 0, height = 0, components = 0, bits = 0, object = 0, id = 0, xPpi = 0, yPpi = 0;
        std::getline(images, heading), std::getline(images, rule);
        images >> page >> number >> type >> width >> height >> colour >> components >> bits >> encoding >> interpolated >>
            object >> id >> xPpi >> yPpi;
        EXPECT_EQ(std::tie(width, height, type), std::make_tuple(800, 600, std::string("image"))) << paper;
        EXPECT_EQ(xPpi, yPpi) << paper;
        EXPECT_LE(width * 72.0 / std::max(xPpi, 1), paperNamed(paper).width + 1) << paper;
    }
    const std::string without = run(dir, "pdfimages", {"-list", dir / "pdf/ST000120.pdf"});
    EXPECT_EQ(without.find("image"), std::string::npos) << without;
}

int errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RunTimeError& error) {
        return error.number();
    }
    return 0;
}

// Calls that would change what the document already held, or that Word
// itself refuses.
TEST(JotwellNotesEngine, RefusesWhatItCannotDo)
{
    zlt::testing::MemoryFileSystem memory;
    memory.addFile("/c/N.DOC", "{\\rtf1 Old}");
    memory.addFile("/c/P.JPG", std::string("\x89PNG\r\n\x1a\n", 8));
    memory.addFile("/c/K.JPG", fileText(ZLT_BIN_DIR "/Kelvane.jpg").substr(0, 100));
    NotesDesk desk(memory, "/c");
    const auto word = makeRtfWordApplication(desk.files, &desk.opener, desk.page);
    using namespace error_number;
    const std::pair<std::function<void()>, int> calls[] = {
        {[&] { word->activeWindowSelection(); }, WordNoDocumentOpen},
        {[&] { word->saveDocumentAs(1, "C:\\N.DOC"); }, WordNoSuchDocument},
        {[&] { word->openDocument("C:\\NONE.DOC"); }, WordDocumentNotFound},
        {[&] { word->openDocument("C:\\n.doc"); }, 0},
        {[&] { word->activeWindowSelection().setText("x"); }, NoSuchMember},  // at its start: its own text
        {[&] { word->activeWindowSelection().endKey(word::Story, word::Extend); }, NoSuchMember},
        {[&] { word->setBackgroundPicture("C:\\P.JPG"); }, NoSuchMember},
        {[&] { word->addDocument(); }, 0},
        {[&] { word->setBackgroundPicture("C:\\P.JPG"); }, InvalidPicture},
        {[&] { word->setBackgroundPicture("C:\\K.JPG"); }, InvalidPicture},  // cut off before its frame header
        {[&] { word->setBackgroundPicture("C:\\NONE.JPG"); }, FileNotFound},
        {[&] { word->activeWindowSelection().setAlignment(3); }, InvalidProcedureCall},
        {[&] { word->activeWindowSelection().setSize(0.5); }, InvalidProcedureCall},
        {[&] { word->activeWindowSelection().endKey(4, word::Move); }, InvalidProcedureCall},
        {[&] { word->saveDocumentAs(3, "C:\\N.DOC"); }, WordNoSuchDocument},
        {[&] { word->quit(); }, 0},
        {[&] { word->version(); }, AutomationError},
    };
    for (std::size_t i = 0; i < std::size(calls); ++i)
        EXPECT_EQ(errorOf(calls[i].first), calls[i].second) << "call " << i;
    EXPECT_EQ(memory.content("/c/N.DOC"), "{\\rtf1 Old}");
}

}  // namespace
}  // namespace zlt::jotwell
