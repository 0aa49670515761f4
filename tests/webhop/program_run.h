#pragma once
// Runs a program as the host would: argv as given, a chosen environment,
// and its standard output and error caught in files or read from a pipe.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace zlt::testing {

struct ProgramResult {
    int exitStatus = -1;  // -1: ended by a signal
    std::string standardOutput;
    std::string standardError;
};

inline std::string fileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Starts the program with the file actions given; throws when it cannot.
inline pid_t spawnWith(const posix_spawn_file_actions_t& actions, const std::string& program,
                       const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& variable : environment)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);

    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
        throw std::runtime_error("cannot start " + program);
    return child;
}

// Starts the program without waiting for it; finishProgram collects it.
inline pid_t startProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment, const std::filesystem::path& workDir)
{
    const auto outPath = workDir / "stdout.txt";
    const auto errPath = workDir / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    try {
        const pid_t child = spawnWith(actions, program, arguments, environment);
        posix_spawn_file_actions_destroy(&actions);
        return child;
    } catch (...) {
        posix_spawn_file_actions_destroy(&actions);
        throw;
    }
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
    pid_t child = 0;
    try {
        child = spawnWith(actions, program, arguments, environment);
    } catch (...) {
        posix_spawn_file_actions_destroy(&actions);
        close(ends[0]);
        close(ends[1]);
        throw;
    }
    posix_spawn_file_actions_destroy(&actions);
    // Only the program (and what it passes the pipe on to) may hold the writing end.
    close(ends[1]);
    readEnd = ends[0];
    return child;
}

// Reads `descriptor` until its end, for at most `limit`; whether the end
// came in time. What was read goes to `text`.
inline bool readsToEndWithin(int descriptor, std::chrono::milliseconds limit, std::string& text)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                                std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{descriptor, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno != EINTR)
            return false;
        if (polled <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0 && errno != EINTR)
            return false;
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
    }
}

// Waits for the program to end: its exit status, -1 when a signal ended it.
inline int exitStatusOf(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline ProgramResult finishProgram(pid_t child, const std::filesystem::path& workDir)
{
    ProgramResult result;
    result.exitStatus = exitStatusOf(child);
    result.standardOutput = fileText(workDir / "stdout.txt");
    result.standardError = fileText(workDir / "stderr.txt");
    return result;
}

inline ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                                const std::vector<std::string>& environment, const std::filesystem::path& workDir)
{
    return finishProgram(startProgram(program, arguments, environment, workDir), workDir);
}

}  // namespace zlt::testing
