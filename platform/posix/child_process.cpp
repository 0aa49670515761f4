#include "platform/posix/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>
#include <thread>

extern char** environ;

namespace zlt::posix {

pid_t spawnProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // The child, and whatever it leaves running (a browser), must not hold
    // our standard streams: a host reading our output through a pipe would
    // wait for the browser to close.
    posix_spawn_file_actions_t actions;
    int error = posix_spawn_file_actions_init(&actions);
    if (error != 0)
        throw std::system_error(error, std::generic_category(), "cannot start " + program);
    for (const auto& [descriptor, mode] : {std::pair{STDIN_FILENO, O_RDONLY}, std::pair{STDOUT_FILENO, O_WRONLY},
                                           std::pair{STDERR_FILENO, O_WRONLY}}) {
        if (error == 0)
            error = posix_spawn_file_actions_addopen(&actions, descriptor, "/dev/null", mode, 0);
    }
    pid_t child = 0;
    if (error == 0)
        error = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::system_error(error, std::generic_category(), "cannot start " + program);
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
