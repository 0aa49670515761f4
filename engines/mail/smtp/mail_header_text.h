#pragma once
// The text of an outgoing message's headers: only printable ASCII reaches a
// header, whatever the subject, the names or the user's locale hold.
#include <cstdint>
#include <string>
#include <string_view>

namespace zlt::mail {

// "Thu, 01 Jan 1970 01:00:00 +0100": the moment (seconds since 1970 UTC) as
// a wall clock `utcOffsetSeconds` east of UTC, with fixed English names.
std::string formatMailDate(std::int64_t unixSeconds, int utcOffsetSeconds);

// An unstructured header value (Subject) from UTF-8 text: line breaks become
// spaces; text that is not plain printable ASCII, that could be read as an
// encoded word ("=?"), or whose spaces at either end would be lost becomes
// base64 encoded words of at most 75 characters, folded onto lines of their own.
std::string unstructuredHeader(std::string_view utf8);

// "Name <address>" for From; the name quoted when it holds specials, as
// encoded words when it is not plain ASCII; the bare address without a name.
std::string mailboxHeader(std::string_view displayName, std::string_view address);

// The Content-Disposition of an attached file the recipient sees as
// `fileName`: filename="..." for printable ASCII, filename*=utf-8''... else.
std::string attachmentDisposition(std::string_view fileName);

// "<hex.milliseconds@domain>", the domain taken from the sender's address
// (a host-name-like part after its last "@"), else "localhost".
std::string messageId(std::uint64_t randomBits, std::int64_t unixMilliseconds, std::string_view senderAddress);

// Every line break (CR LF, a lone LF or a lone CR) as CR LF, as mail wants.
std::string withCrLf(std::string_view text);

}  // namespace zlt::mail
