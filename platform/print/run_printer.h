#pragma once
// What the printers share: the current text style, the print position and
// the run of characters printed in one style that waits to be drawn. The run
// is drawn when the style changes, at a line break, at the end of a document
// and when it grows long, so every character lands exactly where drawing it
// alone would have put it.
#include <string>
#include <string_view>

#include "platform/print/printer.h"

namespace zlt {

class RunPrinter : public Printer {
public:
    void setFontName(const std::string& name) override;
    void setFontSize(double points) override;
    void setBold(bool on) override;
    void setItalic(bool on) override;
    void setUnderline(bool on) override;
    void setStrikethrough(bool on) override;
    void setColour(HostColour colour) override;
    void printText(std::string_view text) override;
    void printLine(std::string_view text) override;
    void beginDocument() override;

protected:
    // The barcode font, which the printers draw themselves where it is missing.
    static constexpr std::string_view BarcodeFont = "EAN-13";

    // The style text prints in: what the set calls last chose.
    struct TextStyle {
        std::string fontName = "Courier New";
        double points = 10;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strikethrough = false;
        HostColour colour = 0;
    };
    const TextStyle& style() const { return style_; }
    bool fontIs(std::string_view name) const;  // letter case aside

    // Draws the waiting run; a document is begun if none is open.
    void flush();
    void discardRun() { run_.clear(); }
    bool documentOpen() const { return documentOpen_; }
    void documentClosed() { documentOpen_ = false; }

    // The print position, from the printable area's top left, in the
    // printer's own units.
    double x_ = 0;
    double y_ = 0;

    // Draws host bytes at the print position in the current style and
    // moves the position past them.
    virtual void drawRun(std::string_view hostText) = 0;
    virtual double lineHeight() = 0;

private:
    void lineBreak();
    template <class T>
    void change(T& setting, const T& value);

    TextStyle style_;
    std::string run_;
    std::string drawing_;
    bool documentOpen_ = false;
};

}  // namespace zlt
