// Jotwell: opens a record's notes in the desktop's word processor, created
// and titled when new, with a date and time line added and saved. Wires the
// real backends to the entry.
#include <iostream>
#include <memory>

#include "jotwell/run_jotwell.h"
#include "platform/backends.h"
#include "platform/command_line.h"
#include "platform/program_exit.h"
#include "platform/system_host.h"
#include "engines/notes/rtf_word_application.h"

extern char** environ;

int main(int argc, char** argv)
{
    using namespace zlt;
    return guardedMain("jotwell", std::cerr, [&] {
        SystemHost host(environ);
        const Settings& settings = host.settings;
        const CodePage& codePage = host.codePage;
        HostFiles& files = host.files;
        const auto messages = makeMessageBoxOnDemand("jotwell", settings);
        const auto windows = makeWindowSystem();
        const auto opener = makeDesktopOpener(settings);
        const auto clock = makeSystemClock();
        const auto dateTimeFormat = makeLocaleDateTimeFormat();
        jotwell::JotwellPlatform platform{*messages,
                                          [&] { return makeRtfWordApplication(files, opener.get(), codePage); },
                                          *windows,
                                          *clock,
                                          *dateTimeFormat,
                                          codePage,
                                          programDirectory(),
                                          &std::cerr};
        return jotwell::runJotwell(argumentText(argc, argv), platform);
    });
}
