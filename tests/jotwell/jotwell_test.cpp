// Jotwell on the notes engine over in-memory files: how the command line is
// cut and read, the document a new record's notes start as and what a
// later run adds, the version check, the boxes and the error path. What
// word processors make of the documents is notes_engine_test's.
#include <gtest/gtest.h>

#include <sstream>

#include "common/leading_number.h"
#include "engines/notes/rtf_word_application.h"
#include "jotwell/notes_command.h"
#include "jotwell/run_jotwell.h"
#include "platform/posix/locale_date_time_format.h"
#include "platform/program_exit.h"
#include "platform/testing/fixed_clock.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_message_box.h"
#include "platform/testing/recording_opener.h"
#include "platform/testing/recording_window_system.h"

namespace zlt::jotwell {
namespace {

using Log = std::vector<std::string>;

TEST(NotesCommand, CutAtTheFirstTwoCommasAndTheRecordNumberRead)
{
    const struct {
        std::string line, path, file, name, code, number;
    } cases[] = {
        {"C:\\ZLT\\,CS000002.DOC,Jane Citizen", "C:\\ZLT\\", "CS000002.DOC", "Jane Citizen", "CS", "2"},
        {"c:\\zlt\\,cs000120.doc,Citizen, Jane, Ms", "c:\\zlt\\", "cs000120.doc", "Citizen, Jane, Ms", "cs", "120"},
        {" p ,ST000000.DOC , x ", " p ", "ST000000.DOC ", " x ", "ST", "0"},
        {",,", "", "", "", "", "0"}, {"p,L,n", "p", "L", "n", "L", "0"},
        {"p,CR0 12 34567.DOC,n", "p", "CR0 12 34567.DOC", "n", "CR", "123"},  // blanks between digits skipped
        {"p,SB12AB56.DOC,n", "p", "SB12AB56.DOC", "n", "SB", "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const NotesCommand command = splitNotesCommand(c.line);
        EXPECT_EQ(command.notesPath, c.path);
        EXPECT_EQ(command.notesFile, c.file);
        EXPECT_EQ(command.notesName, c.name);
        EXPECT_EQ(command.typeCode, c.code);
        EXPECT_EQ(command.recordNumber, c.number);
    }
    for (const char* line : {"C:\\ZLT\\,CS000002.DOC", "no commas", ""}) {
        try {
            splitNotesCommand(line);
            ADD_FAILURE() << line;
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), error_number::InvalidProcedureCall) << line;
        }
    }
}

TEST(NotesCommand, LeadingNumbersAndHeadings)
{
    const std::pair<std::string, std::string> numbers[] = {
        {"000002", "2"}, {"  -0012.500x", "-12.5"}, {"+.5", "0.5"}, {"9.0", "9"}, {"16.0.5325", "16"},
        {"8.0b", "8"}, {"", "0"}, {"-0", "0"}, {"abc1", "0"},
    };
    for (const auto& [text, number] : numbers)
        EXPECT_EQ(leadingNumberText(text), number) << text;
    const std::pair<std::string, std::string> headings[] = {
        {"CS", "Customer Account (7) - A, B"}, {"LY", "Layby Account (7) - A, B"},
        {"SB", "Subagent Account (7) - A, B"}, {"ST", "Stock item (7) - A, B"},
        {"CR", "Creditor Account (7) - A, B"}, {"cs", ""}, {"Cs", ""}, {"XX", ""},
    };
    for (const auto& [code, heading] : headings)
        EXPECT_EQ(headingText(splitNotesCommand("p," + code + "000007.DOC,A, B")), heading) << code;
}

// A word processor that only tells its version, for the check.
class VersionOnly : public WordApplication {
public:
    explicit VersionOnly(std::optional<std::string> version) : version_(std::move(version)) {}
    std::string version() override { return version_ ? *version_ : throw RunTimeError(error_number::AutomationError); }
    void quit() override {}
    void release() override {}
    void setVisible(bool) override { refuse(); }
    void openDocument(const std::string&) override { refuse(); }
    void addDocument() override { refuse(); }
    void saveDocumentAs(int, const std::string&) override { refuse(); }
    WordSelection& activeWindowSelection() override { refuse(); }
    void setBackgroundPicture(const std::string&) override { refuse(); }

private:
    [[noreturn]] static void refuse() { throw RunTimeError(error_number::NoSuchMember); }
    std::optional<std::string> version_;
};

// The smallest JPEG the engine takes: a frame header of 4 by 3 pixels.
const std::string Picture("\xFF\xD8\xFF\xC0\x00\x11\x08\x00\x03\x00\x04", 11);
const std::string Notes = "/c/ZLT/NOTES/CS000002.DOC";

struct JotwellRun {
    testing::MemoryFileSystem fileSystem;
    CodePage page{1252};
    HostFiles files{fileSystem, DriveMap::parse("C=/c", "/"), &page};
    testing::RecordingOpener opener;
    testing::RecordingMessageBox messages;
    Log windowCalls;
    testing::RecordingWindowSystem windows{windowCalls};
    testing::FixedClock clock{LocalTime{2026, 12, 7, 13, 5, 9}};
    std::unique_ptr<DateTimeFormat> format = makeLocaleDateTimeFormat({});
    std::ostringstream errors;
    std::function<std::unique_ptr<WordApplication>()> createWord = [this] {
        return makeRtfWordApplication(files, &opener, page);
    };

    JotwellRun()
    {
        fileSystem.addFolder("/c/ZLT/NOTES");
        fileSystem.addFile("/opt/zlt/Kelvane.jpg", Picture);
        windows.windows = {{"CS000002.DOC - Microsoft Word", 7}};
    }
    int operator()(const std::string& argumentText)
    {
        JotwellPlatform platform{messages, createWord, windows, clock, *format, page, "/opt/zlt", &errors};
        return runJotwell(argumentText, platform);
    }
    // The document's paragraphs, after its font table and background.
    std::string paragraphs(const std::string& path = Notes) const
    {
        const std::string notes = fileSystem.content(path);
        const std::size_t at = notes.find("\\pard\\plain\\uc1");
        return at == std::string::npos ? notes : notes.substr(at);
    }
};

const std::string Stamp = "\\ql 12/07/26 13:05:09\\par\r\n}";

// Saved at once, then titled and stamped: a centred bold 16-point heading
// (none for a code it does not know), two empty lines, a bold 10-point
// stamp; the picture behind; Word brought forward and handed the file. An
// empty file is notes still to be made.
TEST(JotwellNotes, NewDocumentIsTitledStampedAndShown)
{
    const std::string heading = "\\qc\\f0\\fs32\\b Customer Account (2) - Jane Citizen\\fs20\\par\r\n\\par\r\n\\par\r\n";
    const struct {
        std::string argumentText, path, paragraphs;
        bool emptyFileThere = false;  // nothing in it to lose: notes still to be made
    } cases[] = {
        {"C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen", Notes, heading},
        {"  C:\\zlt\\notes\\,cs000002.doc,Citizen, Jane", "/c/ZLT/NOTES/cs000002.doc",
         "\\qc\\f0\\fs20\\b\\par\r\n\\par\r\n"},
        {"C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen", Notes, heading, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argumentText);
        JotwellRun run;
        if (c.emptyFileThere)
            run.fileSystem.addFile(Notes, "");
        EXPECT_EQ(run(c.argumentText), exit_status::Done);
        EXPECT_EQ(run.paragraphs(c.path), "\\pard\\plain\\uc1" + c.paragraphs + Stamp);
        EXPECT_NE(run.fileSystem.content(c.path).find("\\jpegblip"), std::string::npos);
        EXPECT_EQ(run.opener.opened, Log{c.path});
        EXPECT_EQ(run.windowCalls.back(), c.path == Notes ? "focus 7" : "find cs000002.doc - Microsoft Word");
        EXPECT_TRUE(run.messages.shown.empty());
        EXPECT_EQ(run.errors.str(), "");
    }
}

// The stamp goes at the end of what was there, which stays as it was, and
// an empty normal line follows it; nothing else is added.
TEST(JotwellNotes, ExistingDocumentGetsTheStampAtItsEnd)
{
    JotwellRun run;
    const std::string old = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}Old notes\\par}";
    run.fileSystem.addFile(Notes, old);
    EXPECT_EQ(run("C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen"), exit_status::Done);
    const std::string notes = run.fileSystem.content(Notes);
    EXPECT_EQ(notes.substr(0, old.size() - 1), old.substr(0, old.size() - 1));
    EXPECT_EQ(notes.substr(old.size() - 1),
              "{\\pard\\plain\\uc1\\ql\\f0\\fs20\\b 12/07/26 13:05:09\\b0\\par\r\n\\par\r\n}}");
    EXPECT_EQ(notes.find("Customer Account"), std::string::npos);
    EXPECT_EQ(run.opener.opened, Log{Notes});
    EXPECT_EQ(run.errors.str(), "");
}

// Notes this user may not write in place are not stamped: not a byte
// changes, one line says why, and the user still gets to see them.
TEST(JotwellNotes, NotesTheUserMayNotWriteStayAsTheyWereAndAreShown)
{
    JotwellRun run;
    const std::string old = "{\\rtf1\\ansi Old notes\\par}";
    run.fileSystem.addFile(Notes, old, false);
    EXPECT_EQ(run("C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen"), exit_status::Done);
    EXPECT_EQ(run.fileSystem.content(Notes), old);
    EXPECT_EQ(run.errors.str(), "jotwell: opening C:\\ZLT\\NOTES\\CS000002.DOC to add the time stamp: "
                                "Permission denied (error 70)\n");
    EXPECT_EQ(run.opener.opened, Log{Notes});
    EXPECT_EQ(run.fileSystem.list("/c/ZLT/NOTES"), Log{"CS000002.DOC"});
}

TEST(JotwellStartUp, VersionBelowNineOrNoneIsRefused)
{
    const struct {
        std::optional<std::string> version;  // none: Version fails
        bool created;
        std::string shown;
    } cases[] = {
        {"8.0", true, "8.0"}, {"8.99", true, "8.99"}, {"", true, ""}, {std::nullopt, true, ""}, {"9.0", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version.value_or("(fails)"));
        JotwellRun run;
        run.createWord = [&c]() -> std::unique_ptr<WordApplication> {
            if (!c.created)
                throw RunTimeError(error_number::CannotCreateObject);
            return std::make_unique<VersionOnly>(c.version);
        };
        EXPECT_EQ(run("C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen"), exit_status::Failed);
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, "ZELTO Notes Error - Incorrect version");
        EXPECT_EQ(run.messages.shown[0].text,
                  "The version of MS Word you have installed on \nyour machine " + c.shown +
                      " is not compatible with\nthe DOS to Windows ZELTO Detailed Notes system.\n\n"
                      "To run it, you need atleast MS Word version 9.0 (Office 2000)");
        EXPECT_FALSE(run.fileSystem.files().count(Notes));
    }
}

TEST(JotwellStartUp, EmptyLineShowsTheInstructionsAndOneCommaStopsWithTheError)
{
    const struct {
        std::string argumentText;
        int status;
        std::string title, text, errors;
    } cases[] = {
        {"", exit_status::Done, "ZELTO Notes - Operating instructions", "", ""},
        {"   ", exit_status::Done, "ZELTO Notes - Operating instructions", "", ""},
        {"C:\\ZLT\\,CS000002.DOC", exit_status::Failed, "Jotwell",
         "Run-time error '5':\n\nInvalid procedure call or argument",
         "jotwell: reading the command line C:\\ZLT\\,CS000002.DOC: Invalid procedure call or argument (error 5)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argumentText);
        JotwellRun run;
        EXPECT_EQ(run(c.argumentText), c.status);
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, c.title);
        EXPECT_EQ(run.errors.str(), c.errors);
        EXPECT_TRUE(run.opener.opened.empty());
        if (!c.text.empty()) {
            EXPECT_EQ(run.messages.shown[0].text, c.text);
        }
    }
    JotwellRun run;
    run("");
    const std::string& text = run.messages.shown.at(0).text;
    EXPECT_TRUE(text.starts_with("ZELTO Detailed MS Word Notes\n\nCommand line properties -\n\n"
                                 "          JOTWELL DetailnotesPath,DetailNotesFile,DetailNotesName\n"
                                 "   e.g. JOTWELL c:\\zlt\\,cs000002.doc,Jane Citizen\n\n"
                                 "Note: the command line seperator is a comma, and it\n"
                                 "           breaks up the fields shown in the examples,\n"
                                 "           and must be included for the program to work.\n\n")) << text;
    EXPECT_TRUE(text.ends_with("\n") && std::count(text.begin(), text.end(), '\n') == 12) << text;
}

// The C library's forms; a locale the system lacks writes as C, and says
// so once.
TEST(JotwellDateTime, ShortDateAndLongTimeOfTheLocale)
{
    const std::string missing = "LC_ALL names the locale xx_NOWHERE.UTF-8, which is not installed: dates and times "
                                "are written as the C library writes them, month first\n";
    for (const auto& [locale, said] : {std::pair<NamedLocale, std::string>{{}, ""}, {{"LANG", "C.UTF-8"}, ""},
                                       {{"LC_ALL", "xx_NOWHERE.UTF-8"}, missing}}) {
        std::ostringstream notes;
        const auto format = makeLocaleDateTimeFormat(locale, &notes);
        EXPECT_EQ(notes.str(), "");
        const LocalTime time{2026, 1, 31, 9, 5, 7};
        EXPECT_EQ(format->shortDate(time) + " " + format->longTime(time), "01/31/26 09:05:07") << locale.name;
        EXPECT_EQ(notes.str(), said);
    }
}

}  // namespace
}  // namespace zlt::jotwell
