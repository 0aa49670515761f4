#include "engines/mail/smtp/mail_header_text.h"
#include "engines/mail/smtp/base64.h"

#include "platform/ascii.h"
#include "platform/utf8.h"

#include <algorithm>
#include <charconv>
#include <cstddef>

namespace zlt::mail {

namespace {

constexpr std::string_view Weekdays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};  // 1 Jan 1970 first
constexpr std::string_view Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Bytes of text per encoded word: 39 bytes are 52 base64 characters, so a
// word is 64 characters and "Subject: " and one word fit in 78.
constexpr std::size_t WordBytes = 39;
// Longer plain text is encoded too, which folds it below the line limit.
constexpr std::size_t LongestPlainHeader = 900;

void appendNumber(std::string& out, std::int64_t value, int width)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto length = end - digits; length < width; ++length)
        out += '0';
    out.append(digits, end);
}

bool isPrintableAscii(std::string_view text)
{
    for (const unsigned char c : text)
        if (c < 0x20 || c > 0x7e)
            return false;
    return true;
}

// RFC 2047 "B" words, each a whole number of UTF-8 characters, folded.
std::string encodedWords(std::string_view utf8)
{
    std::string out;
    while (!utf8.empty()) {
        std::size_t length = std::min(WordBytes, utf8.size());
        // Never cut a character: back off continuation bytes (10xxxxxx).
        while (length < utf8.size() && length > 1 && isUtf8Continuation(utf8[length]))
            --length;
        if (!out.empty())
            out += "\r\n ";
        out += "=?utf-8?B?";
        appendBase64(out, utf8.substr(0, length));
        out += "?=";
        utf8.remove_prefix(length);
    }
    return out;
}

// Each CR LF, lone CR and lone LF of the text as `lineBreak`.
std::string withLineBreaksAs(std::string_view text, std::string_view lineBreak)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += lineBreak;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Line breaks as single spaces: a header value is one logical line.
std::string oneLine(std::string_view text)
{
    return withLineBreaksAs(text, " ");
}

bool keepsAsPlainText(std::string_view text)
{
    return isPrintableAscii(text) && text.find("=?") == std::string_view::npos && text.size() <= LongestPlainHeader &&
           (text.empty() || (text.front() != ' ' && text.back() != ' '));
}

bool isHostName(std::string_view name)
{
    if (name.empty() || name.front() == '.' || name.back() == '.')
        return false;
    for (const char c : name)
        if (!(isAsciiLetter(c) || isAsciiDigit(c) || c == '.' || c == '-'))
            return false;
    return true;
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

}  // namespace

std::string formatMailDate(std::int64_t unixSeconds, int utcOffsetSeconds)
{
    const std::int64_t local = unixSeconds + utcOffsetSeconds;
    std::int64_t days = local / 86400;
    std::int64_t secondOfDay = local % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    const auto weekday = ((days % 7) + 7) % 7;

    // Civil date of a day count (proleptic Gregorian calendar).
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    const std::int64_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    std::string out(Weekdays[weekday]);
    out += ", ";
    appendNumber(out, day, 2);
    out += ' ';
    out += Months[month - 1];
    out += ' ';
    appendNumber(out, year, 4);
    out += ' ';
    appendNumber(out, secondOfDay / 3600, 2);
    out += ':';
    appendNumber(out, secondOfDay / 60 % 60, 2);
    out += ':';
    appendNumber(out, secondOfDay % 60, 2);
    out += utcOffsetSeconds < 0 ? " -" : " +";
    const int offsetMinutes = (utcOffsetSeconds < 0 ? -utcOffsetSeconds : utcOffsetSeconds) / 60;
    appendNumber(out, offsetMinutes / 60, 2);
    appendNumber(out, offsetMinutes % 60, 2);
    return out;
}

std::string unstructuredHeader(std::string_view utf8)
{
    const std::string text = oneLine(utf8);
    return keepsAsPlainText(text) ? text : encodedWords(text);
}

std::string mailboxHeader(std::string_view displayName, std::string_view address)
{
    const std::string name = oneLine(displayName);
    if (name.empty())
        return std::string(address);
    const std::string angleAddress = " <" + std::string(address) + ">";
    if (!keepsAsPlainText(name))
        return encodedWords(name) + angleAddress;
    if (name.find_first_of("()<>[]:;@\\,.\"") != std::string::npos)
        return quoted(name) + angleAddress;
    return name + angleAddress;
}

std::string attachmentDisposition(std::string_view fileName)
{
    if (fileName.empty())
        return "attachment";
    if (isPrintableAscii(fileName))
        return "attachment; filename=" + quoted(fileName);
    // RFC 2231: every byte outside attr-char as %XX.
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out = "attachment; filename*=utf-8''";
    for (const unsigned char c : fileName) {
        const bool attrChar = isAsciiLetter(static_cast<char>(c)) || isAsciiDigit(static_cast<char>(c)) ||
                              std::string_view("!#$&+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
        if (attrChar)
            out += static_cast<char>(c);
        else
            out += {'%', Hex[c >> 4], Hex[c & 15]};
    }
    return out;
}

std::string messageId(std::uint64_t randomBits, std::int64_t unixMilliseconds, std::string_view senderAddress)
{
    const auto at = senderAddress.rfind('@');
    const std::string_view domain = at == std::string_view::npos ? std::string_view() : senderAddress.substr(at + 1);
    char hex[17];
    const auto hexEnd = std::to_chars(hex, hex + 16, randomBits, 16).ptr;
    std::string out = "<";
    out.append(16 - (hexEnd - hex), '0');
    out.append(hex, hexEnd);
    out += '.';
    appendNumber(out, unixMilliseconds, 1);
    out += '@';
    out += isHostName(domain) ? domain : std::string_view("localhost");
    return out + '>';
}

std::string withCrLf(std::string_view text)
{
    return withLineBreaksAs(text, "\r\n");
}

}  // namespace zlt::mail
