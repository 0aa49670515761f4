// Jotwell's logic with the recording doubles: how the command line is cut
// and read, the exact Word calls and values for a new and an existing
// document, the version check, the boxes and the error path.
#include <gtest/gtest.h>

#include <sstream>

#include "common/leading_number.h"
#include "jotwell/notes_command.h"
#include "jotwell/run_jotwell.h"
#include "platform/posix/locale_date_time_format.h"
#include "platform/program_exit.h"
#include "platform/testing/fixed_clock.h"
#include "platform/testing/recording_message_box.h"
#include "platform/testing/recording_window_system.h"
#include "engines/notes/testing/recording_word_application.h"

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
    EXPECT_LT(leadingNumber("8.99"), 9.0);
    EXPECT_GE(leadingNumber("10.0"), 9.0);  // compared as numbers, not text

    const std::pair<std::string, std::string> headings[] = {
        {"CS", "Customer Account (7) - A, B"}, {"LY", "Layby Account (7) - A, B"},
        {"SB", "Subagent Account (7) - A, B"}, {"ST", "Stock item (7) - A, B"},
        {"CR", "Creditor Account (7) - A, B"}, {"cs", ""}, {"Cs", ""}, {"XX", ""},
    };
    for (const auto& [code, heading] : headings)
        EXPECT_EQ(headingText(splitNotesCommand("p," + code + "000007.DOC,A, B")), heading) << code;
}

struct JotwellRun {
    Log log;
    zlt::testing::RecordingMessageBox messages;
    zlt::testing::RecordingWordFactory words{log};
    zlt::testing::RecordingWindowSystem windows{log};
    zlt::testing::FixedClock clock{LocalTime{2026, 12, 7, 13, 5, 9}};
    std::unique_ptr<DateTimeFormat> format = makeLocaleDateTimeFormat("C");
    CodePage page{1252};
    std::ostringstream errors;
    int operator()(const std::string& argumentText)
    {
        JotwellPlatform platform{messages, [this] { return words.create(); }, windows, clock, *format, page,
                                 "/opt/zlt", &errors};
        return runJotwell(argumentText, platform);
    }
};

const Log versionCheck = {"create", "version", "quit", "release"};
const std::string file = "C:\\ZLT\\NOTES\\CS000002.DOC", stamp = "12/07/26 13:05:09";
const Log focus = {"find CS000002.DOC - Microsoft Word", "foreground 7", "maximise 7", "focus 7"};

Log joined(std::initializer_list<Log> parts)
{
    Log all;
    for (const Log& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(JotwellCalls, NewDocumentIsSavedTitledStampedAndSavedAgain)
{
    const struct {
        std::string argumentText, selectionText;
        Log heading;
    } cases[] = {
        {"C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen", "", {"text Customer Account (2) - Jane Citizen"}},
        {"  C:\\ZLT\\NOTES\\,cs000002.doc,Jane Citizen", "", {}},  // a lower-case code: no heading
        {"C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen", "\r", {"text Customer Account (2) - Jane Citizen"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argumentText);
        JotwellRun run;
        run.words.failing.emplace("open", RunTimeError(error_number::WordDocumentNotFound));
        run.words.selectionText = c.selectionText;
        run.windows.windows = {{"CS000002.DOC - Microsoft Word", 7}, {"cs000002.doc - Microsoft Word", 7}};
        const std::string name = c.argumentText.find("cs0") == std::string::npos ? file : "C:\\ZLT\\NOTES\\cs000002.doc";
        Log sequence = focus;
        if (name != file)
            sequence[0] = "find cs000002.doc - Microsoft Word";
        const std::string selected = c.selectionText.empty() ? "" : "\\r";
        EXPECT_EQ(run(c.argumentText), exit_status::Done);
        EXPECT_EQ(run.log, joined({versionCheck, {"create", "visible true", "open " + name, "add", "saveAs 1 " + name},
                                   sequence,
                                   {"selection", "background /opt/zlt/Kelvane.jpg", "bold true", "size 16"}, c.heading,
                                   {"alignment 1", "endKey", "size 10", "text?", "text " + selected + "\\r\\n\\r\\n",
                                    "endKey", "size 10", "text?", "text " + selected + stamp, "alignment 0", "endKey",
                                    "bold false", "size 10", "endKey", "saveAs 1 " + name, "release"}}));
        EXPECT_TRUE(run.messages.shown.empty());
        EXPECT_EQ(run.errors.str(), "");
    }
}

// Any failure to open but "not found" counts as a document that is there;
// the calls that fail after it are passed over.
TEST(JotwellCalls, ExistingDocumentGetsTheStampAtItsEnd)
{
    const std::string stamped = "jotwell: opening " + file + " to add the time stamp: ";
    const struct {
        std::optional<RunTimeError> openFails, selectionFails;
        std::string errors;
    } cases[] = {
        {{}, {}, ""},
        {RunTimeError(error_number::BadFileMode), {}, stamped + "Bad file mode (error 54)\n"},
        {RunTimeError(error_number::PermissionDenied, "Locked"), RunTimeError(error_number::WordNoDocumentOpen),
         stamped + "Locked (error 70)\n"},
    };
    for (const auto& c : cases) {
        JotwellRun run;
        if (c.openFails)
            run.words.failing.emplace("open", *c.openFails);
        if (c.selectionFails)
            run.words.failing.emplace("selection", *c.selectionFails);
        run.words.selectionText = "<sel>";
        run.windows.windows = {{"CS000002.DOC - Microsoft Word", 7}};
        EXPECT_EQ(run("C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen"), exit_status::Done);
        const Log stamping = {"endKey 6 0", "size 10", "bold true", "text?", "text <sel>" + stamp, "alignment 0",
                              "endKey", "size 10", "text?", "text <sel>\\r\\n", "bold false", "endKey"};
        EXPECT_EQ(run.log, joined({versionCheck, {"create", "visible true", "open " + file}, focus, {"selection"},
                                   c.selectionFails ? Log{} : stamping, {"saveAs 1 " + file, "release"}}));
        EXPECT_EQ(run.errors.str(), c.errors);
        EXPECT_TRUE(run.messages.shown.empty());
    }
}

TEST(JotwellCalls, VersionBelowNineOrNoneIsRefused)
{
    const struct {
        std::string version;
        bool noWord, versionFails;
        std::string shown;
    } cases[] = {
        {"8.0", false, false, "8.0"}, {"8.99", false, false, "8.99"}, {"9.0", true, false, ""},
        {"9.0", false, true, ""}, {"", false, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        JotwellRun run;
        run.words.versionText = c.version;
        if (c.noWord)
            run.words.creationFailure = RunTimeError(error_number::CannotCreateObject);
        if (c.versionFails)
            run.words.failing.emplace("version", RunTimeError(error_number::AutomationError));
        EXPECT_EQ(run("C:\\ZLT\\NOTES\\,CS000002.DOC,Jane Citizen"), exit_status::Failed);
        EXPECT_EQ(run.log, c.noWord ? Log{"create"} : versionCheck);
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, "ZELTO Notes Error - Incorrect version");
        EXPECT_EQ(run.messages.shown[0].text,
                  "The version of MS Word you have installed on \nyour machine " + c.shown +
                      " is not compatible with\nthe DOS to Windows ZELTO Detailed Notes system.\n\n"
                      "To run it, you need atleast MS Word version 9.0 (Office 2000)");
    }
}

TEST(JotwellCalls, EmptyLineShowsTheInstructionsAndOneCommaStopsWithTheError)
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
        EXPECT_EQ(run.log, versionCheck);  // no notes instance
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, c.title);
        EXPECT_EQ(run.errors.str(), c.errors);
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

// The C library's forms; a locale the system lacks writes as C.
TEST(JotwellDateTime, ShortDateAndLongTimeOfTheLocale)
{
    for (const char* locale : {"C", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
        const auto format = makeLocaleDateTimeFormat(locale);
        const LocalTime time{2026, 1, 31, 9, 5, 7};
        EXPECT_EQ(format->shortDate(time) + " " + format->longTime(time), "01/31/26 09:05:07") << locale;
    }
}

}  // namespace
}  // namespace zlt::jotwell
