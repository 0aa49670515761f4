// Any text as ~/.netrc (after a first line naming the machine and a second
// the login asked for): read without a crash or a hang, and a password is
// only ever one the file gives.
#include "engines/mail/smtp/netrc.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view netrc = zlt::fuzz::textOf(data, size);
    const std::string_view machine = zlt::fuzz::takeLine(netrc);
    const std::string_view login = zlt::fuzz::takeLine(netrc);
    const auto password = zlt::mail::netrcPassword(netrc, machine, login);
    if (!password)
        return 0;
    FUZZ_CHECK(netrc.find("password") != std::string_view::npos);
    // Unquoted, it stands in the file as it is; quoted, each of its characters does.
    for (const char c : *password)
        FUZZ_CHECK(netrc.find(c) != std::string_view::npos);
    return 0;
}
