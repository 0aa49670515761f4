// The freedesktop opener xdg-open: hands an address or a file to the
// application the user chose for it, and usually returns at once; the
// application lives on after the program ends.
#include "platform/posix/xdg_opener.h"
#include "platform/posix/child_process.h"
#include "platform/posix/executable_search.h"
#include "platform/run_time_error.h"

#include <system_error>

namespace zlt {

namespace {

// Long enough for the opener to hand over to a running application; an
// opener that stays with the application it started is left running.
constexpr auto OpenerWait = std::chrono::seconds(5);
// PATH unset: the system's usual places.
constexpr const char* DefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

class XdgOpener : public DesktopOpener {
public:
    explicit XdgOpener(std::string opener) : opener_(std::move(opener)) {}

    void open(const std::string& target) override
    {
        // xdg-open takes no "--" and reads any argument that starts with '-'
        // as an option; neither an address nor an absolute path starts so.
        if (target.empty() || target.front() == '-')
            throw RunTimeError(error_number::AutomationError, "Nothing to open: \"" + target + "\"");
        pid_t child = 0;
        try {
            child = posix::spawnProgram(opener_, {target});
        } catch (const std::system_error& error) {
            throw RunTimeError(error_number::AutomationError, std::string("The opener cannot be started: ") + error.what());
        }
        const auto end = posix::waitForChild(child, OpenerWait);
        if (end && !(end->exited && end->code == 0)) {
            const std::string how = end->exited ? "exit status " + std::to_string(end->code)
                                                : "signal " + std::to_string(end->code);
            throw RunTimeError(error_number::AutomationError,
                               "The desktop could not open " + target + " (" + opener_ + " ended with " + how + ")");
        }
    }

private:
    std::string opener_;
};

}  // namespace

std::unique_ptr<DesktopOpener> makeDesktopOpener(const Settings& settings)
{
    std::string opener = posix::findExecutable("xdg-open", settings.path.empty() ? DefaultSearchPath : settings.path);
    if (opener.empty())
        return nullptr;
    return std::make_unique<XdgOpener>(std::move(opener));
}

}  // namespace zlt
