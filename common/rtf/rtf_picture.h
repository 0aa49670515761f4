#pragma once
// A JPEG picture behind a document's text: the background of a new notes
// document. Word's page background ({\*\background}) is what the notes
// once had, but LibreOffice does not show it; a picture shape behind the
// text, anchored in the header as word processors anchor watermarks, shows
// in both and is printed with every page.
#include <string>

#include "platform/paper.h"

namespace zlt::rtf {

struct Picture {
    std::string jpeg;  // the file's bytes
    int widthPixels = 0;
    int heightPixels = 0;
};

// The picture of a JPEG file's bytes, its size read from the frame header.
// Throws RunTimeError InvalidPicture for anything else (a PNG, a cut-off
// file, no frame header).
Picture jpegPicture(std::string bytes);

// The header group holding the picture behind the text, as large as the
// page allows without changing its proportions and in the middle of the
// page, the way a word processor places a picture watermark. \jpegblip
// comes last before the hex data, after the sizes: LibreOffice drops a
// picture that has it earlier.
std::string backgroundHeader(const Picture& picture, const Paper& paper);

}  // namespace zlt::rtf
