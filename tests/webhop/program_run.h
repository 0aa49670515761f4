#pragma once
// Runs a program as the host would: argv as given, a chosen environment,
// and its standard output and error caught in files.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& variable : environment)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);

    pid_t child = 0;
    const int error = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + program);
    return child;
}

inline ProgramResult finishProgram(pid_t child, const std::filesystem::path& workDir)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    ProgramResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
