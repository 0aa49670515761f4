#include "jotwell/run_jotwell.h"

#include "common/leading_number.h"
#include "jotwell/notes_command.h"
#include "jotwell/notes_document.h"
#include "platform/program_exit.h"
#include "platform/run_time_error.h"
#include "platform/linux_path.h"

namespace zlt::jotwell {

const char* const instructionsTitle = "ZELTO Notes - Operating instructions";

const char* const instructionsText =
    "ZELTO Detailed MS Word Notes\n"
    "\n"
    "Command line properties -\n"
    "\n"
    "          JOTWELL DetailnotesPath,DetailNotesFile,DetailNotesName\n"
    "   e.g. JOTWELL c:\\zlt\\,cs000002.doc,Jane Citizen\n"
    "\n"
    "Note: the command line seperator is a comma, and it\n"
    "           breaks up the fields shown in the examples,\n"
    "           and must be included for the program to work.\n"
    "\n"
    "The notes are saved as RTF, which every word processor opens.\n";

const char* const versionTitle = "ZELTO Notes Error - Incorrect version";

namespace {

constexpr double LowestVersion = 9.0;
const char* const PictureName = "Kelvane.jpg";

// The version the word processor reports; "" when it cannot be created or
// asked. The instance only answers this and quits.
std::string wordVersion(JotwellPlatform& platform)
{
    std::string version;
    try {
        const auto word = platform.createWord();
        try {
            version = word->version();
        } catch (const RunTimeError&) {
        }
        try {
            word->quit();
            word->release();
        } catch (const RunTimeError&) {
        }
    } catch (const RunTimeError&) {
    }
    return version;
}

int stopWith(const std::string& whatFailed, const RunTimeError& error, JotwellPlatform& platform)
{
    reportRunTimeError(platform.messages, platform.errorLog, "jotwell", "Jotwell", whatFailed, error);
    return exit_status::Failed;
}

std::string stampText(JotwellPlatform& platform)
{
    const LocalTime now = platform.clock.now();
    return platform.codePage.fromUtf8(platform.dateTimeFormat.shortDate(now) + " " +
                                      platform.dateTimeFormat.longTime(now));
}

}  // namespace

std::string versionText(const std::string& version)
{
    return "The version of MS Word you have installed on \n"
           "your machine " + version + " is not compatible with\n"
           "the DOS to Windows ZELTO Detailed Notes system.\n"
           "\n"
           "To run it, you need atleast MS Word version 9.0 (Office 2000)";
}

int runJotwell(const std::string& argumentText, JotwellPlatform& platform)
{
    const std::string version = wordVersion(platform);
    if (leadingNumber(version) < LowestVersion) {
        // No notes were written: the host must not take this for a stamp.
        platform.messages.show(versionTitle, versionText(version));
        return exit_status::Failed;
    }
    const std::size_t firstNonBlank = argumentText.find_first_not_of(' ');
    if (firstNonBlank == std::string::npos) {
        platform.messages.show(instructionsTitle, instructionsText);
        return exit_status::Done;
    }
    const std::string line = argumentText.substr(firstNonBlank);

    NotesCommand command;
    try {
        command = splitNotesCommand(line);
    } catch (const RunTimeError& error) {
        return stopWith("reading the command line " + line, error, platform);
    }
    std::unique_ptr<WordApplication> word;
    try {
        word = platform.createWord();
        word->setVisible(true);
    } catch (const RunTimeError& error) {
        return stopWith("starting the word processor", error, platform);
    }

    const NotesStamp stamp{platform.codePage.fromUtf8(headingText(command)), stampText(platform),
                           joinPath(platform.programDirectory, PictureName)};
    writeNotes(*word, platform.windows, command, stamp, platform.errorLog);
    try {
        // A visible word processor stays open for the user with the notes.
        word->release();
    } catch (const RunTimeError& error) {
        if (platform.errorLog)
            reportError(*platform.errorLog, "jotwell", "handing the notes to the word processor", error);
    }
    return exit_status::Done;
}

}  // namespace zlt::jotwell
