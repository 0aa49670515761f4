// Jotwell: opens a record's notes in the desktop's word processor, created
// and titled when new, with a date and time line added and saved. Wires the
// real backends to the entry.
#include <iostream>

#include "engines/notes/rtf_word_application.h"
#include "jotwell/run_jotwell.h"
#include "platform/command_line.h"
#include "platform/paper.h"
#include "platform/posix/locale_date_time_format.h"
#include "platform/posix/program_directory.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/system_host.h"
#include "platform/posix/xdg_opener.h"
#include "platform/program_exit.h"
#include "platform/qt/qt_desktop_session.h"
#include "platform/x11/x11_window_system.h"

extern char** environ;

int main(int argc, char** argv)
{
    using namespace zlt;
    constexpr const char* program = "jotwell";
    return guardedMain(program, std::cerr, [&] {
        SystemHost host(program, environ);
        const auto messages = makeMessageBoxOnDemand(program, host.settings);
        const auto windows = makeWindowSystem();
        const auto opener = makeDesktopOpener(host.settings);
        const auto clock = makeSystemClock();
        const auto dateTimeFormat = makeLocaleDateTimeFormat(timeLocaleOf(host.settings), &std::cerr);
        const Paper paper = paperNamed(host.settings.paperSize);
        jotwell::JotwellPlatform platform{*messages,
                                          [&] {
                                              return makeRtfWordApplication(host.files, opener.get(), host.codePage,
                                                                            paper);
                                          },
                                          *windows,
                                          *clock,
                                          *dateTimeFormat,
                                          host.codePage,
                                          programDataDirectory(),
                                          &std::cerr};
        return jotwell::runJotwell(argumentText(argc, argv, host.codePage), platform);
    });
}
