#pragma once
// The browser automation webhop drives, carried out by the desktop opener:
// navigating hands the address to the user's default browser.
#include <memory>

#include "engines/browser/browser.h"
#include "platform/desktop_opener.h"

namespace zlt {

// A browser on the opener, which must outlive it. No opener (none on the
// machine): RunTimeError CannotCreateObject, as a browser that cannot be
// created.
std::unique_ptr<Browser> makeOpenerBrowser(DesktopOpener* opener);

}  // namespace zlt
