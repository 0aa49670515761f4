#pragma once
// Starting a program directly, with an argument vector and no shell, so
// that no argument is ever read as shell syntax. The one way the suite
// starts a child, in the programs and in their tests.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zlt::posix {

struct SpawnOptions {
    // None: the caller's environment.
    std::optional<std::vector<std::string>> environment;
    // Files the standard streams are opened on (created and emptied when
    // written), unless outputPipe holds a descriptor for output and error.
    std::string standardInput = "/dev/null";
    std::string standardOutput = "/dev/null";
    std::string standardError = "/dev/null";
    int outputPipe = -1;
};

// Starts `program` (a path) with `arguments` as argv[1..]. The child starts
// with no signal blocked and every signal at its default action, whatever
// the host left us with, and by default holds none of our standard streams:
// a host reading our output through a pipe must not wait for a browser.
// Returns the child's id; throws std::system_error when it cannot start.
pid_t spawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const SpawnOptions& options = {});

// How a child that finished in time ended.
struct ChildEnd {
    bool exited = false;  // false: ended by a signal
    int code = 0;         // exit code, or the signal's number
};

// Waits at most `limit` for the child; none when it is still running then
// (it is left to run and no longer waited for).
std::optional<ChildEnd> waitForChild(pid_t child, std::chrono::milliseconds limit);

}  // namespace zlt::posix
