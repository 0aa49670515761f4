#include "common/rtf/rtf_appender.h"

#include <algorithm>
#include <limits>
#include <set>

#include "common/rtf/rtf_scanner.h"

namespace zlt::rtf {

namespace {

constexpr int AnsiCharset = 0;
constexpr int Windows1252 = 1252;

Escapes escapesFor(const DocumentLayout& layout)
{
    if (!layout.ansiCharset || layout.ansiCodePage != Windows1252)
        return Escapes::Unicode;
    for (const FontTableFont& font : layout.fonts)
        if (font.number == layout.defaultFont && font.charset != -1 && font.charset != AnsiCharset)
            return Escapes::Unicode;
    return Escapes::Windows1252;
}

// A font number the document does not use: the one after the highest in
// use, or, when that is the largest a number can be, the lowest free one.
int unusedFontNumber(std::set<int>& used)
{
    int number = 0;
    if (const int highest = *used.rbegin(); highest < std::numeric_limits<int>::max())
        number = std::max(highest + 1, 0);
    while (used.count(number) > 0)
        ++number;
    used.insert(number);
    return number;
}

}  // namespace

std::string appendParagraphs(std::string_view document, const Writer& paragraphs)
{
    return appendParagraphs(document, scanDocument(document), paragraphs);
}

std::string appendParagraphs(std::string_view document, const DocumentLayout& layout, const Writer& paragraphs)
{
    if (paragraphs.empty())
        return std::string(document);

    FragmentTarget target;
    target.escapes = escapesFor(layout);
    target.fontNumbers.assign(paragraphs.fonts().size(), layout.defaultFont);
    std::set<int> used = {layout.defaultFont};
    for (const FontTableFont& font : layout.fonts)
        used.insert(font.number);
    std::string newFonts;
    for (std::size_t i = 1; i < paragraphs.fonts().size(); ++i) {
        if (!paragraphs.usesFont(i))
            continue;
        target.fontNumbers[i] = unusedFontNumber(used);
        std::string entry = paragraphs.fontTableEntry(i, target.fontNumbers[i]);
        // The older table form lists entries without groups.
        newFonts += layout.hasFontTable && !layout.fontTableGrouped ? entry.substr(1, entry.size() - 2) : entry;
    }

    std::string out;
    out.reserve(document.size() + 256);
    std::size_t copied = 0;
    if (!newFonts.empty()) {
        const std::size_t at = layout.hasFontTable ? layout.fontTableEnd : layout.headerEnd;
        out.append(document.substr(0, at));
        out += layout.hasFontTable ? newFonts : "{\\fonttbl" + newFonts + "}";
        copied = at;
    }
    out.append(document.substr(copied, layout.closingBrace - copied));
    if (layout.lastParagraphOpen)
        out += "\\par";
    out += paragraphs.fragment(target);
    out.append(document.substr(layout.closingBrace));
    return out;
}

}  // namespace zlt::rtf
