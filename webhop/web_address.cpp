#include "webhop/web_address.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/ascii.h"
#include "platform/run_time_error.h"

namespace zlt::webhop {

namespace {

bool isSchemeCharacter(char c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == '+' || c == '-' || c == '.'; }

// "host:8080", "host:8080/path": the colon belongs to a port, not a scheme.
bool startsWithPort(std::string_view rest)
{
    std::size_t digits = 0;
    while (digits < rest.size() && isAsciiDigit(rest[digits]))
        ++digits;
    if (digits == 0)
        return false;
    return digits == rest.size() || rest[digits] == '/' || rest[digits] == '?' || rest[digits] == '#';
}

// The scheme of the address in lower case; "" when it has none.
std::string schemeOf(std::string_view address)
{
    if (address.empty() || !isAsciiLetter(address.front()))
        return {};
    std::size_t length = 1;
    while (length < address.size() && isSchemeCharacter(address[length]))
        ++length;
    if (length == address.size() || address[length] != ':' || startsWithPort(address.substr(length + 1)))
        return {};
    return lowerAscii(address.substr(0, length));
}

// A host name starts with a letter or digit, an IPv6 literal with '['.
bool startsLikeHost(std::string_view address)
{
    return !address.empty() &&
           (isAsciiLetter(address.front()) || isAsciiDigit(address.front()) || address.front() == '[');
}

}  // namespace

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

void appendEscaped(std::string& out, unsigned char byte)
{
    out += '%';
    out += HexDigits[byte >> 4];
    out += HexDigits[byte & 0x0F];
}

// Control bytes, blanks and bytes above 127 are no URL characters: a line
// break in the address would reach the opener as one.
std::string withUnsafeBytesEncoded(const std::string& address)
{
    std::string out;
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F)
            appendEscaped(out, byte);
        else
            out += c;
    }
    return out;
}

std::string checkedWebPage(const std::string& webPage)
{
    const std::string scheme = schemeOf(webPage);
    if (scheme.empty()) {
        // A path, an option or anything else that is no host name would
        // reach the opener as a local file or a command.
        if (!startsLikeHost(webPage))
            throw RunTimeError(error_number::InvalidProcedureCall,
                               "Not a web address: it must start with http://, https://, ftp:// or a host name");
        return "http://" + webPage;
    }
    constexpr std::array<std::string_view, 3> webSchemes{"http", "https", "ftp"};
    if (std::find(webSchemes.begin(), webSchemes.end(), scheme) == webSchemes.end())
        throw RunTimeError(error_number::InvalidProcedureCall,
                           "Not a web address: only http, https and ftp pages are opened, not \"" + scheme + ":\"");
    return webPage;
}

}  // namespace

std::string webPageAddress(const std::string& webPage)
{
    return withUnsafeBytesEncoded(checkedWebPage(webPage));
}

namespace {

// What would end the value, start another field or the fragment, be read as
// an escape or a blank, or is no URL character at all. Anything else reaches
// the forum as the customer's record holds it.
bool needsEncoding(unsigned char byte)
{
    switch (byte) {
    case '&':
    case '#':
    case '%':
    case '+':
    case '=':
    case '?':
    case ' ':
        return true;
    default:
        return byte < 0x20 || byte >= 0x7F;
    }
}

}  // namespace

std::string percentEncoded(const std::string& value)
{
    std::string out;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEncoding(byte))
            appendEscaped(out, byte);
        else
            out += c;
    }
    return out;
}

std::string forumLoginAddress(const std::string& address, const std::string& postCode,
                              const std::string& regoNumber)
{
    return address + "?loc=forum&pc=" + percentEncoded(postCode) + "&rn=" + percentEncoded(regoNumber);
}

}  // namespace zlt::webhop
