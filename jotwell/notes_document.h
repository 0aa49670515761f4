#pragma once
// The document phase: opens the record's notes (creating and titling them
// when there are none yet), adds the time stamp at the end and saves them.
// Every failing call is passed over and the next one made, as the notes
// must reach the user whatever one step could not do.
#include <ostream>
#include <string>

#include "jotwell/notes_command.h"
#include "platform/window_system.h"
#include "engines/notes/word_application.h"

namespace zlt::jotwell {

// What a run writes into the notes, the texts in host bytes.
struct NotesStamp {
    std::string heading;      // of a new document: "Customer Account (2) - Jane Citizen", or none
    std::string dateTime;     // short date, a space, long time
    std::string picturePath;  // the background of a new document
};

// A document that could not be opened to be stamped, and failed saves,
// which leave the notes as they were, are told on the log (nullptr: not told).
void writeNotes(WordApplication& word, WindowSystem& windows, const NotesCommand& command, const NotesStamp& stamp,
                std::ostream* errorLog);

}  // namespace zlt::jotwell
