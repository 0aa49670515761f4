#pragma once
// Runs a program as the host would: argv as given, a chosen environment,
// and its standard output and error caught in files or read from a pipe.
// Children start through the suite's one spawner.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include "platform/posix/child_process.h"
#include "tests/support/temp_dir.h"

namespace zlt::testing {

struct ProgramResult {
    int exitStatus = -1;  // -1: ended by a signal
    std::string standardOutput, standardError;
};

// Starts the program without waiting for it; finishProgram collects it.
inline pid_t startProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment, const std::filesystem::path& workDir)
{
    posix::SpawnOptions options;
    options.environment = environment;
    options.standardOutput = (workDir / "stdout.txt").string();
    options.standardError = (workDir / "stderr.txt").string();
    return posix::spawnProgram(program, arguments, options);
}

// Starts the program with its standard output and error on one pipe, as a
// host that reads what it prints would; `readEnd` gets the pipe's reading
// end, which the caller closes.
inline pid_t startProgramOnPipe(const std::string& program, const std::vector<std::string>& arguments,
                                const std::vector<std::string>& environment, int& readEnd)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    posix::SpawnOptions options;
    options.environment = environment;
    options.outputPipe = ends[1];
    try {
        const pid_t child = posix::spawnProgram(program, arguments, options);
        close(ends[1]);  // only the program (and what it passes the pipe on to) may hold it
        readEnd = ends[0];
        return child;
    } catch (...) {
        close(ends[0]);
        close(ends[1]);
        throw;
    }
}

// Reads `descriptor` until its end, for at most `limit`; whether the end
// came in time. What was read goes to `text`.
inline bool readsToEndWithin(int descriptor, std::chrono::milliseconds limit, std::string& text)
{
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + limit;
    for (char buffer[4096];;) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        pollfd ready{descriptor, POLLIN, 0};
        if (left <= 0 || (poll(&ready, 1, static_cast<int>(left)) < 0 && errno != EINTR))
            return false;
        const ssize_t got = ready.revents == 0 ? -1 : read(descriptor, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        else if (ready.revents != 0 && errno != EINTR)
            return false;
    }
}

// Waits for the program to end: its exit status, -1 when a signal ended it.
inline int exitStatusOf(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline ProgramResult finishProgram(pid_t child, const std::filesystem::path& workDir)
{
    // A braced list runs in order: the files are read once the program has ended.
    return {exitStatusOf(child), fileText(workDir / "stdout.txt"), fileText(workDir / "stderr.txt")};
}

inline ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                                const std::vector<std::string>& environment, const std::filesystem::path& workDir)
{
    return finishProgram(startProgram(program, arguments, environment, workDir), workDir);
}

}  // namespace zlt::testing
