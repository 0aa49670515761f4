#pragma once
// The dispatcher's status window on Qt Widgets: "Corvanta Mail status" with
// its three labels. With no display there is no window.
#include <memory>

#include "platform/desktop_session.h"
#include "platform/status_window.h"

namespace zlt {

std::unique_ptr<StatusWindow> makeQtStatusWindow(const DesktopSession& session);

}  // namespace zlt
