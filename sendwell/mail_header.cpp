#include "sendwell/mail_header.h"

#include <algorithm>

namespace zlt::sendwell {

namespace {

constexpr char Escape = 27;
constexpr char DeviceControl2 = 18;
constexpr std::string_view Marker = "%%%";

}  // namespace

std::string withoutPrinterPrefix(std::string_view line)
{
    if (!line.empty() && line.front() == Escape) {
        const size_t marker = line.find(Marker);  // 0-based: positions 2 to 9 are 1 to 8
        if (marker != std::string_view::npos && marker >= 1 && marker <= 8)
            return std::string(line.substr(marker));
    }
    if (!line.empty() && line.front() == DeviceControl2 && line.substr(1, 3) == Marker)
        return std::string(line.substr(1));
    return std::string(line);
}

bool isHeaderLine(std::string_view cleanLine)
{
    return cleanLine.starts_with(Marker);
}

std::optional<MailHeader> parseHeader(std::string_view headerLine)
{
    const std::string line = std::string(headerLine) + " ";
    // Indexes from 0: "from two characters after the colon" is c + 2.
    const size_t c1 = line.find(':');
    if (c1 == std::string::npos)
        return std::nullopt;
    const size_t c2 = line.find(':', c1 + 2);
    if (c2 == std::string::npos)
        return std::nullopt;
    const size_t c3 = line.find(':', c2 + 2);
    if (c3 == std::string::npos)
        return std::nullopt;
    const size_t addressStart = c2 + 2;
    const size_t space = line.find(' ', addressStart);
    if (addressStart >= line.size() || space == std::string::npos || space == addressStart)
        return std::nullopt;
    MailHeader header;
    header.address = line.substr(addressStart, space - addressStart);
    header.subject = line.substr(std::min(c3 + 2, line.size()));
    return header;
}

}  // namespace zlt::sendwell
