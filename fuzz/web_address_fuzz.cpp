// Any text as webhop's command line parts (the address on the first line,
// the postcode on the second, the registration number after): what reaches
// the opener is an http, https or ftp address of printable ASCII without a
// blank, and the forum login carries the postcode and registration number
// as two query values that decode to exactly what was given.
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/ascii.h"
#include "platform/run_time_error.h"
#include "webhop/web_address.h"

namespace {

std::string percentDecoded(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            out += static_cast<char>(std::stoi(std::string(value.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += value[i];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest = zlt::fuzz::textOf(data, size);
    const std::string address(zlt::fuzz::takeLine(rest));
    const std::string postCode(zlt::fuzz::takeLine(rest));
    const std::string regoNumber(rest);
    std::string page;
    try {
        page = zlt::webhop::webPageAddress(address);
    } catch (const zlt::RunTimeError& error) {
        FUZZ_CHECK(error.number() == zlt::error_number::InvalidProcedureCall);
        return 0;
    }
    for (const char c : page)
        FUZZ_CHECK(c > 0x20 && c < 0x7F);
    const std::string scheme = zlt::lowerAscii(page.substr(0, page.find(':')));
    FUZZ_CHECK(scheme == "http" || scheme == "https" || scheme == "ftp");

    const std::string login = zlt::webhop::forumLoginAddress(page, postCode, regoNumber);
    const std::size_t pc = login.rfind("?loc=forum&pc=") + 14;
    const std::size_t rn = login.find("&rn=", pc);
    FUZZ_CHECK(rn != std::string::npos && login.find_first_of("&#?= ", pc) == rn);
    FUZZ_CHECK(login.find_first_of("&#?= ", rn + 4) == std::string::npos);
    FUZZ_CHECK(percentDecoded(std::string_view(login).substr(pc, rn - pc)) == postCode);
    FUZZ_CHECK(percentDecoded(std::string_view(login).substr(rn + 4)) == regoNumber);
    return 0;
}
