#pragma once
// Jotwell's main routine: opens a record's notes in the word processor,
// creating and titling them when there are none yet, with a bold date and
// time line added at their end and saved.
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/date_time_format.h"
#include "platform/message_box.h"
#include "platform/window_system.h"
#include "engines/notes/word_application.h"

namespace zlt::jotwell {

// What the routine needs of its platform.
struct JotwellPlatform {
    MessageBox& messages;
    // Each call is a new instance: one to read the version, one for the notes.
    std::function<std::unique_ptr<WordApplication>()> createWord;
    WindowSystem& windows;
    Clock& clock;
    DateTimeFormat& dateTimeFormat;
    const CodePage& codePage;  // the host's: the text the notes document is given
    std::string programDirectory;  // where the background picture is
    // Also told of a run-time error, and of notes that could not be stamped
    // or saved (nullptr: the boxes are enough).
    std::ostream* errorLog = nullptr;
};

extern const char* const instructionsTitle;
extern const char* const instructionsText;
extern const char* const versionTitle;
// The refusal for a version below 9.0 (or none), with the version text.
std::string versionText(const std::string& version);

// Runs Jotwell on its argument text, UTF-8 (platform/command_line.h;
// blanks in front of it are skipped);
// returns the exit status (platform/program_exit.h): Done when it did its
// job (whether or not each step on the document worked) or had none, Failed
// after a run-time error report.
int runJotwell(const std::string& argumentText, JotwellPlatform& platform);

}  // namespace zlt::jotwell
