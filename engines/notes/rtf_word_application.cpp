#include "engines/notes/rtf_word_application.h"

#include <optional>
#include <vector>

#include "common/rtf/rtf_appender.h"
#include "common/rtf/rtf_picture.h"
#include "common/rtf/rtf_scanner.h"
#include "platform/run_time_error.h"
#include "engines/notes/end_selection.h"
#include "engines/notes/lock_files.h"

namespace zlt {

const char* const notesEngineVersion = "9.0";

namespace {

// Word 2000's Normal style.
const rtf::Font NormalFont{"Times New Roman", rtf::FontFamily::Roman};

struct Document {
    Document(bool atEnd, bool continuesText) : selection(atEnd, continuesText) {}
    std::optional<std::string> original;  // an opened document's bytes
    rtf::DocumentLayout layout;           // and their structure
    std::optional<rtf::Picture> background;
    EndSelection selection;
};

class RtfWordApplication : public WordApplication {
public:
    RtfWordApplication(HostFiles& files, DesktopOpener* opener, const CodePage& page, const Paper& paper)
        : files_(files), opener_(opener), page_(page), paper_(paper)
    {
    }

    std::string version() override
    {
        requireRunning();
        return notesEngineVersion;
    }

    void quit() override
    {
        requireRunning();
        quit_ = true;
        documents_.clear();
    }

    void setVisible(bool visible) override
    {
        requireRunning();
        visible_ = visible;
    }

    void openDocument(const std::string& fileName) override
    {
        requireRunning();
        const std::string path = files_.resolve(fileName);
        const EntryStatus status = files_.fileSystem().status(path);
        if (status.kind == EntryKind::Missing)
            throw RunTimeError(error_number::WordDocumentNotFound, "The document was not found (" + fileName + ")");
        if (status.kind != EntryKind::File)
            throw RunTimeError(error_number::PathFileAccessError, "Not a document (" + fileName + ")");
        // Whether or not it can be written into, the user gets to see it.
        shown_ = path;
        refuseLocked(path);
        if (!files_.fileSystem().mayWrite(path))
            throw RunTimeError(error_number::PermissionDenied);
        // An empty file holds no notes to keep: they are still to be made.
        if (status.size == 0)
            throw RunTimeError(error_number::WordDocumentNotFound, "The document is empty (" + fileName + ")");
        std::string bytes = readAll(*files_.fileSystem().openRead(path));
        const rtf::DocumentLayout layout = rtf::scanDocument(bytes);
        auto document = std::make_unique<Document>(false, layout.lastParagraphOpen);
        document->original = std::move(bytes);
        document->layout = layout;
        documents_.push_back(std::move(document));
    }

    void addDocument() override
    {
        requireRunning();
        documents_.push_back(std::make_unique<Document>(true, false));
    }

    void saveDocumentAs(int item, const std::string& fileName) override
    {
        requireRunning();
        if (item < 1 || static_cast<std::size_t>(item) > documents_.size())
            throw RunTimeError(error_number::WordNoSuchDocument);
        const Document& document = *documents_[static_cast<std::size_t>(item) - 1];
        const std::string path = files_.resolve(fileName);
        refuseLocked(path);
        rtf::Writer added(page_, NormalFont);
        document.selection.writeTo(added);
        if (document.original) {
            files_.fileSystem().replaceContent(path, rtf::appendParagraphs(*document.original, document.layout, added));
        } else {
            added.setPaper(paper_);
            if (document.background)
                added.setBackground(*document.background);
            files_.fileSystem().replaceContent(path, added.document());
        }
        shown_ = path;
    }

    WordSelection& activeWindowSelection() override { return activeDocument().selection; }

    void setBackgroundPicture(const std::string& fileName) override
    {
        Document& document = activeDocument();
        if (document.original)
            throw RunTimeError(error_number::NoSuchMember,
                               "The notes engine puts a background only into a document it creates");
        document.background = rtf::jpegPicture(readAll(*files_.fileSystem().openRead(files_.resolve(fileName))));
    }

    void release() override
    {
        if (quit_ || !visible_)
            return;
        quit_ = true;
        // Nothing was opened or saved: there is nothing to show, and the
        // failure that left it so has been told.
        if (shown_.empty())
            return;
        if (!opener_)
            throw RunTimeError(error_number::CannotCreateObject,
                               "No word processor could be started, xdg-open is not on PATH: the notes are kept as " +
                                   shown_);
        opener_->open(shown_);
    }

private:
    void requireRunning() const
    {
        if (quit_)
            throw RunTimeError(error_number::AutomationError, "The word processor has quit");
    }

    Document& activeDocument()
    {
        requireRunning();
        if (documents_.empty())
            throw RunTimeError(error_number::WordNoDocumentOpen);
        return *documents_.back();
    }

    void refuseLocked(const std::string& path)
    {
        const std::string lock = lockFileOf(files_.fileSystem(), path);
        if (!lock.empty())
            throw RunTimeError(error_number::PermissionDenied,
                               "The document is open in a word processor (" + lock + ")");
    }

    HostFiles& files_;
    DesktopOpener* opener_;  // none on this machine
    const CodePage& page_;
    const Paper paper_;
    bool visible_ = false;
    bool quit_ = false;
    std::vector<std::unique_ptr<Document>> documents_;
    std::string shown_;  // the file the user gets to see
};

}  // namespace

std::unique_ptr<WordApplication> makeRtfWordApplication(HostFiles& files, DesktopOpener* opener, const CodePage& page,
                                                        const Paper& paper)
{
    return std::make_unique<RtfWordApplication>(files, opener, page, paper);
}

}  // namespace zlt
