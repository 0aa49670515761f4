#include "engines/browser/opener_browser.h"

#include "platform/run_time_error.h"

namespace zlt {

namespace {

class OpenerBrowser : public Browser {
public:
    explicit OpenerBrowser(DesktopOpener& opener) : opener_(opener) {}

    void navigate(const std::string& address) override { opener_.open(address); }

    // A browser on a Linux desktop shows its window as soon as it opens a
    // page, so once the address is handed over there is nothing left to make
    // visible. Hiding it is not ours to do: the window belongs to the user's
    // browser, which may hold other pages.
    void setVisible(bool visible) override
    {
        if (!visible)
            throw RunTimeError(error_number::AutomationError, "The browser window cannot be hidden");
    }

private:
    DesktopOpener& opener_;
};

}  // namespace

std::unique_ptr<Browser> makeOpenerBrowser(DesktopOpener* opener)
{
    if (opener == nullptr)
        throw RunTimeError(error_number::CannotCreateObject,
                           "Cannot create the browser object: xdg-open was not found on PATH");
    return std::make_unique<OpenerBrowser>(*opener);
}

}  // namespace zlt
