#pragma once
// Sendwell's main routine: finds the host tree, signs on to the mail
// account, sends every message of every mail file the host listed, files
// each one done in the sent folder, logs every step and ends.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "common/registry/registry.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/host_files.h"
#include "engines/mail/mail_session.h"
#include "platform/message_box.h"
#include "platform/run_lock.h"
#include "platform/status_window.h"

namespace zlt::sendwell {

// What the routine needs of its platform.
struct SendwellPlatform {
    HostFiles& files;
    Clock& clock;
    MessageBox& messages;
    StatusWindow& window;
    MailSession& mail;
    RunLocks& locks;
    const CodePage& codePage;
    // The user's registry, read when the run first needs it.
    std::function<const registry::Registry&()> registry;
    // The default printer's font names, in its order.
    std::function<std::vector<std::string>()> printerFonts;
};

extern const char* const setupNotFoundTitle;
extern const char* const setupNotFoundText;


// The run, whatever the argument text (it is not read). Returns Done when
// every listed mail file is in the sent folder, LeftForNextRun when some
// stay queued, HostTreeNotFound. Failures that end the run (a log or an attachment
// that cannot be written, a file that cannot be moved) are RunTimeErrors;
// no file is filed that was not done.
int runSendwell(const std::string& argumentText, SendwellPlatform& platform);

}  // namespace zlt::sendwell
