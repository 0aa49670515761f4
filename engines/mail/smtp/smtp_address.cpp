#include "engines/mail/smtp/smtp_address.h"

#include <algorithm>

namespace zlt::mail {

namespace {

constexpr std::size_t MaxLocalPart = 64;
constexpr std::size_t MaxAddress = 254;  // within a path of 256 with "<" and ">"; the domain's 255 never comes first

}  // namespace

std::string addressProblem(std::string_view address)
{
    if (address.empty())
        return "it is empty";
    const bool unusable = std::any_of(address.begin(), address.end(), [](const char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7f || c == '<' || c == '>';
    });
    if (unusable)
        return "it holds a blank, a control character, \"<\" or \">\"";
    if (address.size() > MaxAddress)
        return "it is " + std::to_string(address.size()) + " characters long, SMTP takes " + std::to_string(MaxAddress);
    const std::size_t at = address.rfind('@');
    const std::size_t local = at == std::string_view::npos ? address.size() : at;
    if (local > MaxLocalPart)
        return "its part before the @ is " + std::to_string(local) + " characters long, SMTP takes " +
               std::to_string(MaxLocalPart);
    return {};
}

}  // namespace zlt::mail
