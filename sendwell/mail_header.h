#pragma once
// The lines of a mail file that begin a message: "%%%" header lines, after
// the printer-control prefixes the host may put in front of them.
#include <optional>
#include <string>
#include <string_view>

namespace zlt::sendwell {

// ESC with the first "%%%" at position 2 to 9: the line from that "%%%";
// else DC2 followed by "%%%": the line without the DC2; else the line.
std::string withoutPrinterPrefix(std::string_view line);

bool isHeaderLine(std::string_view cleanLine);

struct MailHeader {
    std::string address;
    std::string subject;  // keeps the space the parse appends
};

// "%%%X: 7 Y: ADDR Z: Weekly sales" gives ADDR and "Weekly sales ". The
// labels' words are not looked at, only their colons. nullopt for a header
// without its three colons, or whose address is empty.
std::optional<MailHeader> parseHeader(std::string_view headerLine);

}  // namespace zlt::sendwell
