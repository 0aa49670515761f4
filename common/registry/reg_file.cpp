#include "common/registry/reg_file.h"

#include <optional>

#include "common/registry/key_path.h"
#include "common/registry/reg_text.h"
#include "platform/ascii.h"
#include "platform/run_time_error.h"

namespace zlt::registry {

namespace {

constexpr std::string_view HeaderVersion5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view HeaderVersion4 = "REGEDIT4";
constexpr size_t MaxTypeDigits = 8;  // a dword, or a type number in hex(...)

bool isLineBreak(char c) { return c == '\n' || c == '\r'; }

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char upper = upperAscii(c);
    if (upper >= 'A' && upper <= 'F')
        return upper - 'A' + 10;
    return -1;
}

// The strings of a multi-string, which ends at its first empty string.
std::vector<std::string> splitMultiString(std::string_view text)
{
    std::vector<std::string> strings;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\0', start);
        if (end == start)
            break;
        if (end == std::string_view::npos)
            end = text.size();
        strings.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

// Hex data as the value its type makes of it. Strings in a 5.00 file are
// UTF-16LE, in a REGEDIT4 file ANSI.
Value valueFromBytes(std::uint32_t type, const Bytes& bytes, int version)
{
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    auto text = [&](bool stopAtNul) {
        if (version == 5)
            return utf16leToUtf8(raw, stopAtNul);
        return ansiToUtf8(stopAtNul ? raw.substr(0, raw.find('\0')) : raw);
    };
    switch (type) {
    case value_type::String:
    case value_type::ExpandString:
        return {type, text(true)};
    case value_type::MultiString:
        return {type, splitMultiString(text(false))};
    case value_type::Dword:
        if (bytes.size() == 4)
            return {type, std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
                              std::uint32_t(bytes[3]) << 24};
        break;
    }
    return {type, bytes};
}

class Parser {
public:
    Parser(std::string_view text, RegFile& out) : text_(text), out_(out) {}

    void run()
    {
        skipRestOfLine();  // the header, checked by the caller
        while (!atEnd()) {
            skipBlanks();
            if (atEnd())
                break;
            if (consumeLineBreak())
                continue;
            const int startLine = line_;
            bool ok = false;
            if (peek() == ';')
                ok = true;
            else if (peek() == '[')
                ok = parseKeyLine();
            else if (peek() == '"' || peek() == '@')
                ok = parseValueLine();
            if (!ok)
                out_.skippedLines.push_back(startLine);
            skipRestOfLine();
        }
    }

private:
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }

    void skipBlanks()
    {
        while (!atEnd() && isSpaceOrTab(text_[pos_]))
            ++pos_;
    }

    // CR LF, LF or a lone CR.
    bool consumeLineBreak()
    {
        if (atEnd() || !isLineBreak(peek()))
            return false;
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
            ++pos_;
        ++pos_;
        ++line_;
        return true;
    }

    void skipRestOfLine()
    {
        while (!atEnd() && !isLineBreak(text_[pos_]))
            ++pos_;
    }

    // Only blanks or a comment left on the line.
    bool restOfLineIsEmpty()
    {
        skipBlanks();
        if (peek() == ';')
            skipRestOfLine();
        return atEnd() || isLineBreak(peek());
    }

    bool consumeCaseBlind(std::string_view word)
    {
        if (text_.size() - pos_ < word.size() || foldName(text_.substr(pos_, word.size())) != foldName(word))
            return false;
        pos_ += word.size();
        return true;
    }

    // Up to maxDigits hex digits, at least one.
    std::optional<std::uint32_t> parseHexNumber(size_t maxDigits)
    {
        std::uint32_t number = 0;
        size_t digits = 0;
        for (int d; (d = hexDigitValue(peek())) >= 0; ++pos_, ++digits) {
            if (digits == maxDigits)
                return std::nullopt;
            number = number << 4 | static_cast<std::uint32_t>(d);
        }
        if (digits == 0)
            return std::nullopt;
        return number;
    }

    // "[KEY\PATH]" creates the key, "[-KEY\PATH]" deletes it with its
    // subkeys. A key line that is refused leaves no key for the values
    // below it, so they are skipped too.
    bool parseKeyLine()
    {
        section_.clear();
        size_t end = pos_;
        while (end < text_.size() && !isLineBreak(text_[end]))
            ++end;
        const std::string_view lineText = text_.substr(pos_, end - pos_);
        const size_t close = lineText.rfind(']');
        if (close == std::string_view::npos)
            return false;
        std::string_view path = lineText.substr(1, close - 1);
        const bool deletion = path.starts_with('-');
        if (deletion)
            path.remove_prefix(1);
        const auto names = splitKeyPath(path);
        if (!names)
            return false;
        pos_ += close + 1;
        if (!restOfLineIsEmpty())
            return false;
        Statement statement;
        statement.kind = deletion ? Statement::Kind::DeleteKey : Statement::Kind::CreateKey;
        statement.key = joinKeyPath(*names);
        statement.line = line_;
        if (!deletion)
            section_ = statement.key;
        out_.statements.push_back(std::move(statement));
        return true;
    }

    // "..." with \\ and \" escapes, on one line. Another backslash stays as
    // it is, so a hand-written "C:\Temp" reads as written.
    bool parseQuoted(std::string& out)
    {
        ++pos_;
        while (!atEnd() && !isLineBreak(peek())) {
            char c = text_[pos_++];
            if (c == '"')
                return true;
            if (c == '\\' && (peek() == '\\' || peek() == '"'))
                c = text_[pos_++];
            out += c;
        }
        return false;
    }

    // Bytes "01,02,..." where a line may end in "\" to go on with the next.
    bool parseHexList(Bytes& bytes)
    {
        for (;;) {
            skipBlanks();
            if (peek() == '\\') {
                ++pos_;
                skipBlanks();
                if (!consumeLineBreak())
                    return false;
                continue;
            }
            if (hexDigitValue(peek()) < 0)
                return true;
            const auto byte = parseHexNumber(2);
            if (!byte)
                return false;
            bytes.push_back(static_cast<std::uint8_t>(*byte));
            skipBlanks();
            if (peek() != ',')
                return true;
            ++pos_;
        }
    }

    bool parseValueLine()
    {
        Statement statement;
        if (peek() == '@')
            ++pos_;
        else if (!parseQuoted(statement.name))
            return false;
        skipBlanks();
        if (peek() != '=' || section_.empty())
            return false;
        ++pos_;
        skipBlanks();
        statement.key = section_;
        statement.line = line_;
        const size_t data = pos_;
        if (parseValueData(statement))
            return true;
        // The value is there but cannot be read: it is set to what was
        // written, so that a lookup finds a bad value rather than none.
        const std::string_view rest = text_.substr(data, text_.find_first_of("\r\n", data) - data);
        statement.kind = Statement::Kind::SetValue;
        statement.value = {value_type::Unreadable, std::string(rest.substr(0, rest.find_last_not_of(" \t") + 1))};
        out_.statements.push_back(std::move(statement));
        return false;
    }

    bool parseValueData(Statement& statement)
    {
        statement.kind = Statement::Kind::SetValue;
        if (peek() == '"') {
            std::string text;
            if (!parseQuoted(text))
                return false;
            statement.value = {value_type::String, std::move(text)};
        } else if (peek() == '-') {
            ++pos_;
            statement.kind = Statement::Kind::DeleteValue;
        } else if (consumeCaseBlind("dword:")) {
            const auto number = parseHexNumber(MaxTypeDigits);
            if (!number)
                return false;
            statement.value = {value_type::Dword, *number};
        } else if (consumeCaseBlind("hex")) {
            std::uint32_t type = value_type::Binary;
            if (peek() == '(') {
                ++pos_;
                const auto number = parseHexNumber(MaxTypeDigits);
                if (!number || peek() != ')')
                    return false;
                ++pos_;
                type = *number;
            }
            Bytes bytes;
            if (peek() != ':')
                return false;
            ++pos_;
            if (!parseHexList(bytes))
                return false;
            statement.value = valueFromBytes(type, bytes, out_.version);
        } else {
            return false;
        }
        if (!restOfLineIsEmpty())
            return false;
        out_.statements.push_back(std::move(statement));
        return true;
    }

    std::string_view text_;
    RegFile& out_;
    size_t pos_ = 0;
    int line_ = 1;
    std::string section_;  // the key of the values that follow; empty: none
};

}  // namespace

RegFile parseRegFile(std::string_view bytes, std::string_view sourceName)
{
    const std::string text = decodeRegFileText(bytes);
    std::string_view header = std::string_view(text).substr(0, text.find_first_of("\r\n"));
    while (!header.empty() && isSpaceOrTab(header.back()))
        header.remove_suffix(1);
    RegFile file;
    if (header == HeaderVersion5) {
        file.version = 5;
    } else if (header == HeaderVersion4) {
        file.version = 4;
    } else {
        const std::string subject = sourceName.empty() ? std::string("not a registry file")
                                                       : "not a registry file: " + std::string(sourceName);
        throw RunTimeError(error_number::AutomationError,
                           std::string(standardDescription(error_number::AutomationError)) + " (" + subject + ")");
    }
    Parser(text, file).run();
    return file;
}

}  // namespace zlt::registry
