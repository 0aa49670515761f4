// Sendwell: sends the mail the host queued in its tree over SMTP, logging
// every step. Wires the real backends to the entry.
#include <iostream>
#include <optional>

#include "common/registry/user_registry.h"
#include "engines/mail/smtp/curl_mail_transport.h"
#include "engines/mail/smtp/transport_mail_session.h"
#include "platform/command_line.h"
#include "platform/posix/file_run_locks.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/system_host.h"
#include "platform/program_exit.h"
#include "platform/qt/qt_desktop_session.h"
#include "platform/qt/qt_status_window.h"
#include "platform/qt/system_printer.h"
#include "sendwell/mail_account_of.h"
#include "sendwell/run_sendwell.h"

extern char** environ;

int main(int argc, char** argv)
{
    using namespace zlt;
    constexpr const char* program = "sendwell";
    return guardedMain(program, std::cerr, [&] {
        SystemHost host(program, environ);
        const auto session = startDesktopSession(program, host.settings);
        const auto messages = makeMessageBox(*session);
        const auto window = makeQtStatusWindow(*session);
        const auto clock = makeSystemClock();
        const auto locks = makeFileRunLocks();
        std::optional<registry::Registry> registry;
        const auto userRegistry = [&]() -> const registry::Registry& {
            if (!registry)
                registry = registry::readUserRegistry(*host.fileSystem, host.settings);
            return *registry;
        };
        const auto transport = makeCurlMailTransport(expandHome("~/.netrc", host.settings.home), *clock);
        const auto mail = makeTransportMailSession(*transport, [&](const std::string& name) {
            auto account = sendwell::mailAccountNamed(userRegistry(), name);
            if (account)
                account->caFile = host.settings.mailCaFile;
            return account;
        });
        sendwell::SendwellPlatform platform{host.files, *clock,      *messages,    *window,
                                            *mail,      *locks,      host.codePage, userRegistry,
                                            [&] { return systemPrinterFontNames(host.codePage, host.settings, *clock); }};
        return sendwell::runSendwell(argumentText(argc, argv, host.codePage), platform);
    });
}
