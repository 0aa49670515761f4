// The desktop's default browser, reached through the freedesktop opener
// xdg-open. The opener hands the address to whatever browser the user chose
// and usually returns at once; the browser lives on after the program ends.
#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/backends.h"
#include "platform/posix/child_process.h"
#include "platform/posix/executable_search.h"
#include "platform/run_time_error.h"

namespace zlt {

namespace {

// The run time's number for a failed call on an automation object.
constexpr int automationError = 440;
// Long enough for the opener to hand over to a running browser; an opener
// that stays with the browser it started is left running after that.
constexpr auto openerWait = std::chrono::seconds(5);
// PATH unset: the system's usual places.
constexpr const char* defaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

class XdgBrowser : public Browser {
public:
    explicit XdgBrowser(std::string opener) : opener_(std::move(opener)) {}

    void navigate(const std::string& address) override
    {
        // xdg-open takes no "--" and reads any argument that starts with '-'
        // as an option; an address never starts so.
        if (address.empty() || address.front() == '-')
            throw RunTimeError(automationError, "Not a web address: \"" + address + "\"");
        pid_t child = 0;
        try {
            child = posix::spawnProgram(opener_, {address});
        } catch (const std::system_error& error) {
            throw RunTimeError(automationError, std::string("The browser cannot be started: ") + error.what());
        }
        const auto end = posix::waitForChild(child, openerWait);
        if (end && !(end->exited && end->code == 0)) {
            const std::string how = end->exited ? "exit status " + std::to_string(end->code)
                                                : "signal " + std::to_string(end->code);
            throw RunTimeError(automationError, "The browser could not open " + address + " (" + opener_ +
                                                    " ended with " + how + ")");
        }
    }

    // A browser on a Linux desktop shows its window as soon as it opens a
    // page, so once navigate has handed the address over there is nothing
    // left to make visible. Hiding it is not ours to do: the window belongs
    // to the user's browser, which may hold other pages.
    void setVisible(bool visible) override
    {
        if (!visible)
            throw RunTimeError(automationError, "The browser window cannot be hidden");
    }

private:
    std::string opener_;
};

}  // namespace

std::unique_ptr<Browser> createBrowser()
{
    const char* path = std::getenv("PATH");
    std::string opener = posix::findExecutable("xdg-open", path ? path : defaultSearchPath);
    if (opener.empty())
        throw RunTimeError(error_number::CannotCreateObject,
                           "Cannot create the browser object: xdg-open was not found on PATH");
    return std::make_unique<XdgBrowser>(std::move(opener));
}

}  // namespace zlt
