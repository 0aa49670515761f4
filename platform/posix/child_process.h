#pragma once
// Starting a program directly, with an argument vector and no shell, so
// that no argument is ever read as shell syntax.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zlt::posix {

// Starts `program` (a path) with `arguments` as argv[1..] and the caller's
// environment; its standard input, output and error are /dev/null. Returns the child's id; throws
// std::system_error when the system cannot start it.
pid_t spawnProgram(const std::string& program, const std::vector<std::string>& arguments);

// How a child that finished in time ended.
struct ChildEnd {
    bool exited = false;  // false: ended by a signal
    int code = 0;         // exit code, or the signal's number
};

// Waits at most `limit` for the child; none when it is still running then
// (it is left to run and no longer waited for) or cannot be waited for.
std::optional<ChildEnd> waitForChild(pid_t child, std::chrono::milliseconds limit);

}  // namespace zlt::posix
