#pragma once
// The printer as the report programs drive it: a current font, style and
// colour, a print position that text moves along, and documents that each
// go to the printer as one print job.
#include <cstdint>
#include <string>
#include <string_view>

namespace zlt {

// A colour in the host's layout: red + 256 * green + 65536 * blue.
using HostColour = std::uint32_t;

class Printer {
public:
    virtual ~Printer() = default;

    // The printer's fonts, in the printer's own order.
    virtual int fontCount() = 0;
    virtual std::string fontName(int index) = 0;

    // Each setting holds for text printed afterwards, across documents.
    virtual void setFontName(const std::string& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setBold(bool on) = 0;
    virtual void setItalic(bool on) = 0;
    virtual void setUnderline(bool on) = 0;
    virtual void setStrikethrough(bool on) = 0;
    virtual void setColour(HostColour colour) = 0;

    // Host bytes, drawn at the print position, which moves right by their
    // width. A CR LF pair inside the text is a line break: back to the left
    // edge and down one line height of the current font. Text that would
    // pass the bottom of the page starts a new page by itself; text past the
    // right edge is clipped.
    virtual void printText(std::string_view text) = 0;
    // printText, then a line break.
    virtual void printLine(std::string_view text) = 0;

    // Output after beginDocument starts at the top left of the printable
    // area of a fresh page; a document in which nothing was printed produces
    // no sheet. endDocument hands the document to the printer as one job;
    // ending an ended document does nothing.
    virtual void beginDocument() = 0;
    virtual void endDocument() = 0;
    // Drops a document that a failure left unfinished; nothing of it is
    // printed.
    virtual void abandonDocument() = 0;
};

}  // namespace zlt
