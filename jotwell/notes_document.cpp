#include "jotwell/notes_document.h"

#include <functional>
#include <optional>

#include "common/window_focus.h"
#include "platform/program_exit.h"
#include "platform/run_time_error.h"

namespace zlt::jotwell {

namespace {

const char* const WindowCaptionEnd = " - Microsoft Word";

// A call whose failure is passed over; the failure, if any.
std::optional<RunTimeError> attempt(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RunTimeError& error) {
        return error;
    }
    return std::nullopt;
}

class NotesWriter {
public:
    NotesWriter(WordApplication& word, std::ostream* errorLog) : word_(word), errorLog_(errorLog) {}

    void keepSelection()
    {
        attempt([&] { selection_ = &word_.activeWindowSelection(); });
    }

    // A step on the kept selection; none kept: it fails as a call on an
    // object variable that was never set.
    void onSelection(const std::function<void(WordSelection&)>& step)
    {
        attempt([&] {
            if (selection_ == nullptr)
                throw RunTimeError(error_number::ObjectVariableNotSet);
            step(*selection_);
        });
    }

    void appendText(const std::string& text)
    {
        onSelection([&](WordSelection& selection) { selection.setText(selection.text() + text); });
    }

    // Only the last save tells its failure: the notes on disk are what it
    // left, and one failure is one line however many saves met it.
    void save(const std::string& fileName, bool last)
    {
        const auto failure = attempt([&] { word_.saveDocumentAs(1, fileName); });
        // With no document there is nothing to save, and opening said why.
        if (last && failure && failure->number() != error_number::WordNoSuchDocument && errorLog_)
            reportError(*errorLog_, "jotwell", "saving " + fileName, *failure);
    }

private:
    WordApplication& word_;
    std::ostream* errorLog_;
    WordSelection* selection_ = nullptr;
};

void titleNewDocument(NotesWriter& notes, WordApplication& word, WindowSystem& windows, const NotesCommand& command,
                      const NotesStamp& stamp, const std::string& fileName)
{
    attempt([&] { word.addDocument(); });
    // Saved at once: the notes exist even when a later step fails.
    notes.save(fileName, false);
    focusWindow(windows, command.notesFile + WindowCaptionEnd);
    notes.keepSelection();
    attempt([&] { word.setBackgroundPicture(stamp.picturePath); });
    notes.onSelection([](WordSelection& s) { s.setBold(true); });
    notes.onSelection([](WordSelection& s) { s.setSize(16); });
    if (!stamp.heading.empty())
        notes.onSelection([&](WordSelection& s) { s.setText(stamp.heading); });
    notes.onSelection([](WordSelection& s) { s.setAlignment(word::AlignParagraphCenter); });
    notes.onSelection([](WordSelection& s) { s.endKey(); });
    notes.onSelection([](WordSelection& s) { s.setSize(10); });
    notes.appendText("\r\n\r\n");
    notes.onSelection([](WordSelection& s) { s.endKey(); });
    notes.onSelection([](WordSelection& s) { s.setSize(10); });
    notes.appendText(stamp.dateTime);
    notes.onSelection([](WordSelection& s) { s.setAlignment(word::AlignParagraphLeft); });
    notes.onSelection([](WordSelection& s) { s.endKey(); });
    notes.onSelection([](WordSelection& s) { s.setBold(false); });
    notes.onSelection([](WordSelection& s) { s.setSize(10); });
    notes.onSelection([](WordSelection& s) { s.endKey(); });
}

void stampExistingDocument(NotesWriter& notes, WindowSystem& windows, const NotesCommand& command,
                           const NotesStamp& stamp)
{
    focusWindow(windows, command.notesFile + WindowCaptionEnd);
    notes.keepSelection();
    notes.onSelection([](WordSelection& s) { s.endKey(word::Story, word::Move); });
    notes.onSelection([](WordSelection& s) { s.setSize(10); });
    notes.onSelection([](WordSelection& s) { s.setBold(true); });
    notes.appendText(stamp.dateTime);
    notes.onSelection([](WordSelection& s) { s.setAlignment(word::AlignParagraphLeft); });
    notes.onSelection([](WordSelection& s) { s.endKey(); });
    notes.onSelection([](WordSelection& s) { s.setSize(10); });
    notes.appendText("\r\n");
    notes.onSelection([](WordSelection& s) { s.setBold(false); });
    notes.onSelection([](WordSelection& s) { s.endKey(); });
}

}  // namespace

void writeNotes(WordApplication& word, WindowSystem& windows, const NotesCommand& command, const NotesStamp& stamp,
                std::ostream* errorLog)
{
    const std::string fileName = command.notesPath + command.notesFile;
    NotesWriter notes(word, errorLog);
    const auto opening = attempt([&] { word.openDocument(fileName); });
    // Any other failure (locked, damaged, not a document we can write
    // into) counts as a document that is there.
    if (opening && opening->number() == error_number::WordDocumentNotFound) {
        titleNewDocument(notes, word, windows, command, stamp, fileName);
    } else {
        if (opening && errorLog)
            reportError(*errorLog, "jotwell", "opening " + fileName + " to add the time stamp", *opening);
        stampExistingDocument(notes, windows, command, stamp);
    }
    notes.save(fileName, true);
}

}  // namespace zlt::jotwell
