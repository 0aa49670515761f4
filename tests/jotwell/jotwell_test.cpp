// Jotwell on the notes engine over in-memory files: how the command line is
// cut and read, the document a new record's notes start as and what a
// later run adds, the version check, the boxes and the error path. What
// word processors make of the documents is notes_engine_test's.
#include <gtest/gtest.h>

#include <sstream>

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

// Cut at the first two commas, the record number read, the heading made.
TEST(NotesCommand, CutAtTheFirstTwoCommasAndTheRecordNumberAndHeadingMade)
{
    const struct {
        std::string line, path, file, name, code, number, heading;
    } cases[] = {
        {"C:\\ZLT\\,CS000002.DOC,Jane Citizen", "C:\\ZLT\\", "CS000002.DOC", "Jane Citizen", "CS", "2",
         "Customer Account (2) - Jane Citizen"},
        {"c:\\zlt\\,cs000120.doc,Citizen, Jane, Ms", "c:\\zlt\\", "cs000120.doc", "Citizen, Jane, Ms", "cs", "120", ""},
        {" p ,ST000000.DOC , x ", " p ", "ST000000.DOC ", " x ", "ST", "0", "Stock item (0) -  x "},
        {",,", "", "", "", "", "0", ""}, {"p,L,n", "p", "L", "n", "L", "0", ""},
        {"p,CR0 12 34567.DOC,n", "p", "CR0 12 34567.DOC", "n", "CR", "123", "Creditor Account (123) - n"},  // blanks skipped
        {"p,SB12AB56.DOC,n", "p", "SB12AB56.DOC", "n", "SB", "12", "Subagent Account (12) - n"},
        {"p,LY000007.DOC,A, B", "p", "LY000007.DOC", "A, B", "LY", "7", "Layby Account (7) - A, B"},
        {"p,Cs000007.DOC,A", "p", "Cs000007.DOC", "A", "Cs", "7", ""}, {"p,XX000007.DOC,A", "p", "XX000007.DOC", "A", "XX", "7", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const NotesCommand command = splitNotesCommand(c.line);
        EXPECT_EQ(std::tie(command.notesPath, command.notesFile, command.notesName, command.typeCode, command.recordNumber),
                  std::tie(c.path, c.file, c.name, c.code, c.number));
        EXPECT_EQ(headingText(command), c.heading);
    }
    for (const char* line : {"C:\\ZLT\\,CS000002.DOC", "no commas", ""}) {
        try {
            splitNotesCommand(line);
            ADD_FAILURE() << line;
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), error_number::InvalidProcedureCall) << line;
        }
    }
    const std::pair<std::string, std::string> numbers[] = {
        {"000002", "2"}, {"  -0012.500x", "-12.5"}, {"+.5", "0.5"}, {"9.0", "9"}, {"16.0.5325", "16"},
        {"8.0b", "8"}, {"", "0"}, {"-0", "0"}, {"abc1", "0"},
    };
    for (const auto& [text, number] : numbers)
        EXPECT_EQ(leadingNumberText(text), number) << text;
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
};

const std::string Stamp = "\\ql 12/07/26 13:05:09\\par\r\n}";

// A new document is saved at once, then titled and stamped: a centred bold
// 16-point heading (none for a code it does not know), two empty lines, a
// bold 10-point stamp, the picture behind; an empty file is notes still to
// be made. Existing notes get the stamp at their end and an empty normal
// line, nothing else. Notes the user may not write or the engine cannot
// write into, or a save that fails (full disk, no folder), leave the file
// as it was, and one line says why.
// Word is brought forward and handed whatever file there is.
TEST(JotwellNotes, WhatTheNotesBecome)
{
    const std::string heading = "\\pard\\plain\\uc1\\qc\\f0\\fs32\\b Customer Account (2) - Jane Citizen\\fs20\\par\r\n"
                                "\\par\r\n\\par\r\n" + Stamp;
    const std::string old = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}Old notes\\par}", jane = "C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen";
    const std::string saving = "jotwell: saving C:\\ZLT\\NOTES\\CS000002.DOC: Disk full (error 61)\n";
    const std::string opening = "jotwell: opening C:\\ZLT\\NOTES\\CS000002.DOC to add the time stamp: ";
    const std::string noRtf = " (not a rich-text document: it does not start with {\\rtf) (error 54)\n";
    const std::string binary("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12), docx("PK\x03\x04\x14\0\x06\0", 8);
    const struct {
        std::string argumentText;
        std::optional<std::string> there;  // the file before the run
        bool writable;
        int failCommits;
        std::string path, document;        // whole when it was there, else from its first paragraph
        std::string errors;
        std::string lockFile = "";         // a word processor's beside it
    } cases[] = {
        {jane, {}, true, 0, Notes, heading, ""},
        {"  C:\\zlt\\notes\\,cs000002.doc,Citizen, Jane", {}, true, 0, "/c/ZLT/NOTES/cs000002.doc",
         "\\pard\\plain\\uc1\\qc\\f0\\fs20\\b\\par\r\n\\par\r\n" + Stamp, ""},
        {jane, "", true, 0, Notes, heading, ""},
        {jane, old, true, 0, Notes, old.substr(0, old.size() - 1) + "{\\pard\\plain\\uc1\\ql\\f0\\fs20\\b 12/07/26 13:05:09\\b0\\par\r\n\\par\r\n}}",
         ""},
        {jane, old, false, 0, Notes, old,
         "jotwell: opening C:\\ZLT\\NOTES\\CS000002.DOC to add the time stamp: Permission denied (error 70)\n"},
        {jane, old, true, error_number::DiskFull, Notes, old, saving},
        {jane, {}, true, error_number::DiskFull, Notes, "", saving},
        {"C:\\ZLT\\NONE\\,CS000002.DOC,Jane", {}, true, 0, "/c/ZLT/NONE/CS000002.DOC", "",
         "jotwell: saving C:\\ZLT\\NONE\\CS000002.DOC: Path not found (/c/ZLT/NONE/.CS000002.DOC~1.tmp) (error 76)\n"},
        // Nothing the notes engine can write into: a binary .doc, a .docx, plain text, cut-off RTF, notes
        // open in LibreOffice or Word now.
        {jane, binary, true, 0, Notes, binary, opening + "Bad file mode" + noRtf},
        {jane, docx, true, 0, Notes, docx, opening + "Bad file mode" + noRtf},
        {jane, "Old notes\r\n", true, 0, Notes, "Old notes\r\n", opening + "Bad file mode" + noRtf},
        {jane, "{\\rtf1 Old", true, 0, Notes, "{\\rtf1 Old", opening + "Bad file mode (not a rich-text document: its "
         "braces do not balance) (error 54)\n"},
        {jane, old, true, 0, Notes, old, opening + "The document is open in a word processor (/c/ZLT/NOTES/.~lock."
         "CS000002.DOC#) (error 70)\n", ".~lock.CS000002.DOC#"},
        {jane, old, true, 0, Notes, old, opening + "The document is open in a word processor (/c/ZLT/NOTES/~$000002"
         ".DOC) (error 70)\n", "~$000002.DOC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argumentText + " " + c.there.value_or("(none)") + c.errors);
        JotwellRun run;
        if (c.there)
            run.fileSystem.addFile(Notes, *c.there, c.writable);
        if (!c.lockFile.empty())
            run.fileSystem.addFile("/c/ZLT/NOTES/" + c.lockFile, "someone");
        run.fileSystem.failCommitsWith = c.failCommits;
        EXPECT_EQ(run(c.argumentText), exit_status::Done);
        const std::string notes = run.fileSystem.content(c.path);
        EXPECT_EQ(c.there.value_or("") != "" ? notes : notes.substr(std::min(notes.find("\\pard\\plain\\uc1"), notes.size())), c.document);
        EXPECT_EQ(notes.find("\\jpegblip") != std::string::npos, c.document.starts_with("\\pard"));
        EXPECT_EQ(run.fileSystem.list("/c/ZLT/NOTES").size(), (c.document.empty() ? 0u : 1u) + !c.lockFile.empty());
        EXPECT_EQ(run.opener.opened, c.document.empty() ? Log{} : Log{c.path});
        const std::string name = c.path.substr(c.path.rfind('/') + 1);
        EXPECT_EQ(run.windowCalls.back(), name == "CS000002.DOC" ? "focus 7" : "find " + name + " - Microsoft Word");
        EXPECT_TRUE(run.messages.shown.empty());
        EXPECT_EQ(run.errors.str(), c.errors);
    }
}

// No notes are written or shown: Word 8 or none, no command line, or one
// with fewer than two commas.
TEST(JotwellStartUp, VersionCheckInstructionsAndALineItCannotCut)
{
    const auto refusal = [](const std::string& version) {
        return "The version of MS Word you have installed on \nyour machine " + version +
               " is not compatible with\nthe DOS to Windows ZELTO Detailed Notes system.\n\n"
               "To run it, you need atleast MS Word version 9.0 (Office 2000)";
    };
    const std::string instructions = "ZELTO Detailed MS Word Notes\n\nCommand line properties -\n\n"
                                     "          JOTWELL DetailnotesPath,DetailNotesFile,DetailNotesName\n"
                                     "   e.g. JOTWELL c:\\zlt\\,cs000002.doc,Jane Citizen\n\n"
                                     "Note: the command line seperator is a comma, and it\n"
                                     "           breaks up the fields shown in the examples,\n"
                                     "           and must be included for the program to work.\n\n";
    const std::string jane = "C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen", versionTitle = "ZELTO Notes Error - Incorrect version";
    const struct {
        std::string version;  // of a stand-in Word: "(fails)" to read, "(none)" to start; "": the notes engine
        std::string argumentText;
        int status;
        std::string title, text, errors;  // the box's text, or how it starts
    } cases[] = {
        {"8.0", jane, 1, versionTitle, refusal("8.0"), ""}, {"8.99", jane, 1, versionTitle, refusal("8.99"), ""},
        {" ", jane, 1, versionTitle, refusal(" "), ""}, {"(fails)", jane, 1, versionTitle, refusal(""), ""},
        {"(none)", jane, 1, versionTitle, refusal(""), ""},
        {"", "", 0, "ZELTO Notes - Operating instructions", instructions, ""},
        {"", "   ", 0, "ZELTO Notes - Operating instructions", instructions, ""},
        {"", "C:\\ZLT\\,CS000002.DOC", 1, "Jotwell", "Run-time error '5':\n\nInvalid procedure call or argument",
         "jotwell: reading the command line C:\\ZLT\\,CS000002.DOC: Invalid procedure call or argument (error 5)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version + " " + c.argumentText);
        JotwellRun run;
        if (!c.version.empty())
            run.createWord = [&c]() -> std::unique_ptr<WordApplication> {
                if (c.version == "(none)")
                    throw RunTimeError(error_number::CannotCreateObject);
                return std::make_unique<VersionOnly>(c.version == "(fails)" ? std::nullopt : std::optional(c.version));
            };
        EXPECT_EQ(run(c.argumentText), c.status);
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, c.title);
        const std::string& text = run.messages.shown[0].text;
        EXPECT_TRUE(text.starts_with(c.text)) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(c.text.begin(), c.text.end(), '\n') + (c.status ? 0 : 1));
        EXPECT_EQ(run.errors.str(), c.errors);
        EXPECT_TRUE(run.fileSystem.list("/c/ZLT/NOTES").empty());
        EXPECT_TRUE(run.opener.opened.empty());
    }
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
