// Any text as a mail's subject, the sender's name and address, and the
// attached file's name (first line the name, second the address, the rest
// the subject and, up to the 255 bytes a file name holds, the file name):
// only printable ASCII reaches a header, its lines folded with CR LF and a
// blank and within SMTP's 998, and a subject put in encoded words reads
// back as written, line breaks as blanks.
#include <string>

#include "engines/mail/smtp/mail_header_text.h"
#include "engines/mail/smtp/smtp_address.h"
#include "fuzz/fuzz_input.h"

namespace {

// Printable ASCII lines of at most 998 characters with `field`, joined by CR LF and a blank.
bool isFoldedAscii(std::string_view field, const std::string& value)
{
    std::size_t lineStart = 0;
    const std::string header = std::string(field) + value;
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header.compare(i, 3, "\r\n ") == 0) {
            if (i - lineStart > 998)
                return false;
            lineStart = i + 2;
            i += 2;
        } else if (header[i] < 0x20 || header[i] > 0x7E) {
            return false;
        }
    }
    return header.size() - lineStart <= 998;
}

std::string base64Decoded(std::string_view text)
{
    static const std::string_view Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char c : text) {
        const std::size_t v = Alphabet.find(c);
        if (v == std::string_view::npos)
            break;  // the padding
        bits = (bits << 6) | static_cast<unsigned>(v);
        if ((count += 6) >= 8)
            out += static_cast<char>((bits >> (count -= 8)) & 0xFF);
    }
    return out;
}

// The text of a header made of encoded words, as a mail reader shows it.
std::string decodedWords(const std::string& header)
{
    std::string out;
    for (std::size_t at = 0; (at = header.find("=?utf-8?B?", at)) != std::string::npos;) {
        const std::size_t end = header.find("?=", at + 10);
        out += base64Decoded(std::string_view(header).substr(at + 10, end - at - 10));
        at = end + 2;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zlt::mail;
    std::string_view rest = zlt::fuzz::textOf(data, size);
    const std::string_view name = zlt::fuzz::takeLine(rest);
    std::string_view address = zlt::fuzz::takeLine(rest);
    FUZZ_CHECK(!addressProblem(address).empty() || address.find_first_of(" <>\r\n") == std::string_view::npos);
    // The session refuses a bad sender before any header is made; an address
    // in UTF-8 goes into From as it is, as internationalised mail carries it.
    if (!addressProblem(address).empty() || !isFoldedAscii("", std::string(address)))
        address = "shop@example.org";

    const std::string subject = unstructuredHeader(rest);
    FUZZ_CHECK(isFoldedAscii("Subject: ", subject));
    if (subject.starts_with("=?utf-8?B?")) {
        std::string oneLine = withCrLf(rest);
        for (std::size_t at; (at = oneLine.find("\r\n")) != std::string::npos;)
            oneLine.replace(at, 2, " ");
        FUZZ_CHECK(decodedWords(subject) == oneLine);
    }
    FUZZ_CHECK(isFoldedAscii("From: ", mailboxHeader(name, address)));
    // The attached file's name is a file's: at most 255 bytes.
    FUZZ_CHECK(isFoldedAscii("Content-Disposition: ", attachmentDisposition(rest.substr(0, 255))));
    return 0;
}
