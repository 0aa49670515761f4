#pragma once
// Qt's application object and its message box.
#include <memory>
#include <string_view>

#include "platform/desktop_session.h"
#include "platform/message_box.h"
#include "platform/settings.h"

namespace zlt {

// Qt's application object, shown the program's name only: the host's
// arguments are report paths and web addresses, never Qt options. With no
// display that answers, Qt runs offscreen.
std::unique_ptr<DesktopSession> startDesktopSession(std::string_view programName, const Settings& settings);

// Qt message box with a display; with none, title and text go to standard
// error and the box counts as answered.
std::unique_ptr<MessageBox> makeMessageBox(const DesktopSession& session);

// The same box for a program with no window of its own: the desktop
// session starts with the first box shown, so a run that shows none starts
// no toolkit.
std::unique_ptr<MessageBox> makeMessageBoxOnDemand(std::string_view programName, const Settings& settings);

}  // namespace zlt
