#pragma once
// Word's object model on a Linux desktop: a document engine of our own that
// carries out the selection calls, writes the notes document as RTF (which
// every word processor opens, whatever the host names the file), adds to an
// RTF document at its end, and hands the document to the desktop's word
// processor when the program lets go of a visible instance.
//
// Opening a file that is there but cannot be written into (a binary .doc, a
// .docx, anything but one complete RTF document, a document a word processor
// has open now, one this user may not write in place) fails with another
// error than "not found", and the file is still handed to the user. An
// empty file opens as one not found: its notes are still to be made. Saving replaces the file whole (FileSystem::
// replaceContent): a failed save leaves the old notes as they were.
#include <memory>

#include "platform/code_page.h"
#include "platform/desktop_opener.h"
#include "platform/host_files.h"
#include "platform/paper.h"
#include "engines/notes/word_application.h"

namespace zlt {

// The version it reports: the object model it carries out is Word 2000's.
extern const char* const notesEngineVersion;

// Files, opener and page must outlive it. A new document is laid out on
// the paper. With no opener (none on the machine) the notes are written all
// the same; letting go of a visible instance then fails with
// CannotCreateObject, saying where the notes are.
std::unique_ptr<WordApplication> makeRtfWordApplication(HostFiles& files, DesktopOpener* opener, const CodePage& page,
                                                        const Paper& paper = {});

}  // namespace zlt
