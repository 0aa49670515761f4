// Sendwell: sends the mail the host queued in its tree over SMTP, logging
// every step. Wires the real backends to the entry.
#include <iostream>
#include <optional>

#include "platform/backends.h"
#include "platform/command_line.h"
#include "engines/mail/smtp/curl_mail_transport.h"
#include "engines/mail/smtp/transport_mail_session.h"
#include "platform/posix/file_run_locks.h"
#include "platform/program_exit.h"
#include "platform/system_host.h"
#include "platform/qt/qt_status_window.h"
#include "sendwell/mail_account_of.h"
#include "sendwell/mail_setup.h"
#include "sendwell/run_sendwell.h"

extern char** environ;

namespace {

using namespace zlt;

// The user's registry file; none there is an empty registry.
registry::Registry readRegistry(FileSystem& files, const Settings& settings)
{
    const std::string path = expandHome(settings.registry.empty() ? "~/.config/zlt/user.reg" : settings.registry, settings.home);
    if (files.status(path).kind != EntryKind::File)
        return {};
    return registry::Registry::fromRegFile(readAll(*files.openRead(path)), path);
}

// The default printer's fonts; none when there is no printer to ask.
std::vector<std::string> printerFonts(const CodePage& codePage, const Settings& settings)
{
    try {
        const auto printer = makeSystemPrinter(codePage, settings);
        std::vector<std::string> names;
        for (int i = 0; i < printer->fontCount(); ++i)
            names.push_back(printer->fontName(i));
        return names;
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

int main(int argc, char** argv)
{
    return guardedMain("sendwell", std::cerr, [&] {
        SystemHost host(environ);
        const Settings& settings = host.settings;
        const CodePage& codePage = host.codePage;
        HostFiles& files = host.files;
        static char programName[] = "sendwell";
        const auto session = startDesktopSession(programName, settings);
        const auto messages = makeMessageBox(*session);
        const auto window = makeQtStatusWindow(*session);
        const auto clock = makeSystemClock();
        const auto locks = makeFileRunLocks();
        std::optional<registry::Registry> registry;
        const auto userRegistry = [&]() -> const registry::Registry& {
            if (!registry)
                registry = readRegistry(*host.fileSystem, settings);
            return *registry;
        };
        const auto transport = makeCurlMailTransport(expandHome("~/.netrc", settings.home));
        const auto mail = makeTransportMailSession(*transport, [&](const std::string& name) {
            auto account = sendwell::mailAccountNamed(userRegistry(), name);
            if (account)
                account->caFile = settings.mailCaFile;
            return account;
        });
        sendwell::SendwellPlatform platform {files, *clock, *messages, *window, *mail, *locks, codePage, userRegistry,
                                             [&] { return printerFonts(codePage, settings); }};
        return sendwell::runSendwell(argumentText(argc, argv), platform);
    });
}
