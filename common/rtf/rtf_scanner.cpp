#include "common/rtf/rtf_scanner.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/ascii.h"
#include "platform/run_time_error.h"

namespace zlt::rtf {

namespace {

// Destinations whose text is not part of the document's body, even when
// they are not marked \* as optional.
constexpr std::string_view NonBodyDestinations[] = {
    "annotation", "atnauthor", "atnid",   "colortbl", "datastore", "filetbl",    "fldinst",
    "footer",     "footerf",   "footerl", "footerr",  "footnote",  "generator",  "header",
    "headerf",    "headerl",   "headerr", "info",     "latentstyles", "listoverridetable",
    "listtable",  "listtext",  "pgdsctbl", "pntext",  "revtbl",    "rsidtbl",    "stylesheet",
    "tc",         "themedata", "xe",      "xmlnstbl",
};

constexpr std::string_view ParagraphEnds[] = {"par", "row", "sect"};

// Control words that put something visible into the paragraph.
constexpr std::string_view ContentWords[] = {
    "bullet", "cell",  "chdate", "chftn", "chpgn", "chtime",    "column", "emdash",  "emspace",
    "endash", "enspace", "ldblquote", "line", "lquote", "nestcell", "page", "qmspace", "rdblquote",
    "rquote", "sectnum", "tab",   "u",      "zwj",   "zwnj",
};

constexpr std::size_t LongestControlWord = 32;
constexpr int LongestParameter = 10;

bool isOneOf(std::string_view name, const std::string_view* begin, const std::string_view* end)
{
    return std::find(begin, end, name) != end;
}

[[noreturn]] void refuse(const std::string& reason)
{
    throw RunTimeError(error_number::BadFileMode, std::string(standardDescription(error_number::BadFileMode)) +
                                                      " (not a rich-text document: " + reason + ")");
}

struct Group {
    bool ignorable = false;  // its text is not body text
    bool firstToken = true;  // nothing but \* read in it yet
};

class Scanner {
public:
    explicit Scanner(std::string_view bytes) : bytes_(bytes) {}

    DocumentLayout run()
    {
        if (!bytes_.starts_with("{\\rtf"))
            refuse("it does not start with {\\rtf");
        std::size_t i = 0;
        while (i < bytes_.size() && !closed_)
            i = step(i);
        if (!closed_)
            refuse("its braces do not balance");
        for (; i < bytes_.size(); ++i) {
            const char c = bytes_[i];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0' && c != '\x1A')
                refuse("there is more after its closing brace");
        }
        if (headerOpen_)
            layout_.headerEnd = layout_.closingBrace;
        return layout_;
    }

private:
    // Reads the token at i; returns the offset after it.
    std::size_t step(std::size_t i)
    {
        const char c = bytes_[i];
        if (c == '{') {
            openGroup(i);
            return i + 1;
        }
        if (c == '}') {
            closeGroup(i);
            return i + 1;
        }
        if (c == '\\')
            return control(i);
        if (c != '\r' && c != '\n') {
            endHeader(i);
            groups_.back().firstToken = false;
            content();
        }
        return i + 1;
    }

    void openGroup(std::size_t at)
    {
        endHeader(at);
        if (!groups_.empty())
            groups_.back().firstToken = false;
        if (inFontTable_ && groups_.size() == fontTableDepth_)
            layout_.fontTableGrouped = true;
        groups_.push_back(Group{!groups_.empty() && groups_.back().ignorable, true});
    }

    void closeGroup(std::size_t at)
    {
        if (inFontTable_ && groups_.size() == fontTableDepth_) {
            layout_.fontTableEnd = at;
            inFontTable_ = false;
        }
        groups_.pop_back();
        if (groups_.empty()) {
            layout_.closingBrace = at;
            closed_ = true;
        }
    }

    std::size_t control(std::size_t i)
    {
        if (i + 1 >= bytes_.size())
            refuse("it ends inside a control word");
        const char c = bytes_[i + 1];
        if (isAsciiLetter(c))
            return controlWord(i);
        Group& group = groups_.back();
        if (c == '*') {
            // Keeps firstToken: the destination's name follows.
            if (group.firstToken)
                group.ignorable = true;
            return i + 2;
        }
        endHeader(i);
        group.firstToken = false;
        if (c == '\r' || c == '\n') {
            // A backslash before a line end is a paragraph end.
            paragraphEnd();
            return i + 2;
        }
        content();
        if (c == '\'')
            return std::min(i + 4, bytes_.size());
        return i + 2;
    }

    std::size_t controlWord(std::size_t i)
    {
        std::size_t j = i + 1;
        while (j < bytes_.size() && isAsciiLetter(bytes_[j]) && j - (i + 1) < LongestControlWord)
            ++j;
        const std::string_view name = bytes_.substr(i + 1, j - (i + 1));
        bool negative = false;
        if (j < bytes_.size() && bytes_[j] == '-') {
            negative = true;
            ++j;
        }
        bool hasParameter = false;
        long long parameter = 0;
        for (int digits = 0; j < bytes_.size() && isAsciiDigit(bytes_[j]) && digits < LongestParameter; ++digits, ++j) {
            parameter = parameter * 10 + (bytes_[j] - '0');
            hasParameter = true;
        }
        if (negative)
            parameter = -parameter;
        if (j < bytes_.size() && bytes_[j] == ' ')
            ++j;

        Group& group = groups_.back();
        if (group.firstToken) {
            group.firstToken = false;
            destination(name, group);
        }
        if (groups_.size() == 1)
            headerWord(name, hasParameter, parameter);
        if (inFontTable_)
            fontTableWord(name, hasParameter, parameter);

        if (name == "bin") {
            if (!hasParameter || parameter < 0 || static_cast<unsigned long long>(parameter) > bytes_.size() - j)
                refuse("its \\bin data runs past the end");
            content();
            return j + static_cast<std::size_t>(parameter);
        }
        if (isOneOf(name, std::begin(ParagraphEnds), std::end(ParagraphEnds)))
            paragraphEnd();
        else if (isOneOf(name, std::begin(ContentWords), std::end(ContentWords)))
            content();
        return j;
    }

    void destination(std::string_view name, Group& group)
    {
        if (groups_.size() == 1) {
            if (name != "rtf")
                refuse("it does not start with {\\rtf");
            return;
        }
        if (name == "fonttbl" && groups_.size() == 2 && !layout_.hasFontTable) {
            layout_.hasFontTable = true;
            inFontTable_ = true;
            fontTableDepth_ = groups_.size();
            group.ignorable = true;
        } else if (isOneOf(name, std::begin(NonBodyDestinations), std::end(NonBodyDestinations))) {
            group.ignorable = true;
        }
    }

    void headerWord(std::string_view name, bool hasParameter, long long parameter)
    {
        if (name == "ansicpg" && hasParameter && layout_.ansiCodePage == 0)
            layout_.ansiCodePage = static_cast<int>(parameter);
        else if (name == "deff" && hasParameter && headerOpen_)
            layout_.defaultFont = static_cast<int>(parameter);
        else if (name == "mac" || name == "pc" || name == "pca")
            layout_.ansiCharset = false;
    }

    void fontTableWord(std::string_view name, bool hasParameter, long long parameter)
    {
        if (!hasParameter)
            return;
        if (name == "f")
            layout_.fonts.push_back(FontTableFont{static_cast<int>(parameter), -1});
        else if (name == "fcharset" && !layout_.fonts.empty())
            layout_.fonts.back().charset = static_cast<int>(parameter);
    }

    void endHeader(std::size_t at)
    {
        if (headerOpen_ && groups_.size() == 1) {
            layout_.headerEnd = at;
            headerOpen_ = false;
        }
    }

    void content()
    {
        if (!groups_.back().ignorable)
            layout_.lastParagraphOpen = true;
    }

    void paragraphEnd()
    {
        if (!groups_.back().ignorable)
            layout_.lastParagraphOpen = false;
    }

    std::string_view bytes_;
    DocumentLayout layout_;
    std::vector<Group> groups_;
    bool closed_ = false;
    bool headerOpen_ = true;
    bool inFontTable_ = false;
    std::size_t fontTableDepth_ = 0;
};

}  // namespace

DocumentLayout scanDocument(std::string_view bytes)
{
    return Scanner(bytes).run();
}

}  // namespace zlt::rtf
