#include "platform/posix/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

extern char** environ;

namespace zlt::posix {

namespace {

// Frees the spawn attributes and actions however the start ends.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    int error = 0;
    SpawnSetup()
    {
        error = posix_spawn_file_actions_init(&actions);
        if (error == 0)
            error = posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    void step(int result)
    {
        if (error == 0)
            error = result;
    }
};

std::vector<char*> pointers(const std::vector<std::string>& texts, const std::string* first)
{
    std::vector<char*> out;
    if (first)
        out.push_back(const_cast<char*>(first->c_str()));
    for (const auto& text : texts)
        out.push_back(const_cast<char*>(text.c_str()));
    out.push_back(nullptr);
    return out;
}

}  // namespace

pid_t spawnProgram(const std::string& program, const std::vector<std::string>& arguments, const SpawnOptions& options)
{
    // A host that ignores SIGCHLD would have the child reaped unseen, and a
    // failing opener could never be reported.
    struct sigaction current {};
    if (sigaction(SIGCHLD, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
        struct sigaction byDefault {};
        byDefault.sa_handler = SIG_DFL;
        sigaction(SIGCHLD, &byDefault, nullptr);
    }

    SpawnSetup setup;
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    setup.step(posix_spawnattr_setsigmask(&setup.attributes, &none));
    setup.step(posix_spawnattr_setsigdefault(&setup.attributes, &all));
    setup.step(posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
    setup.step(posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, options.standardInput.c_str(), O_RDONLY, 0));
    if (options.outputPipe >= 0) {
        setup.step(posix_spawn_file_actions_adddup2(&setup.actions, options.outputPipe, STDOUT_FILENO));
        setup.step(posix_spawn_file_actions_adddup2(&setup.actions, options.outputPipe, STDERR_FILENO));
    } else {
        constexpr int writing = O_WRONLY | O_CREAT | O_TRUNC;
        setup.step(posix_spawn_file_actions_addopen(&setup.actions, STDOUT_FILENO, options.standardOutput.c_str(), writing, 0600));
        setup.step(posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, options.standardError.c_str(), writing, 0600));
    }
    std::vector<char*> argv = pointers(arguments, &program);
    std::vector<char*> envp = options.environment ? pointers(*options.environment, nullptr) : std::vector<char*>{};
    pid_t child = 0;
    setup.step(posix_spawn(&child, program.c_str(), &setup.actions, &setup.attributes, argv.data(),
                           options.environment ? envp.data() : environ));
    if (setup.error != 0)
        throw std::system_error(setup.error, std::generic_category(), "cannot start " + program);
    return child;
}

std::optional<ChildEnd> waitForChild(pid_t child, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            if (WIFEXITED(status))
                return ChildEnd{true, WEXITSTATUS(status)};
            return ChildEnd{false, WIFSIGNALED(status) ? WTERMSIG(status) : 0};
        }
        if (done < 0 && errno != EINTR)
            return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace zlt::posix
