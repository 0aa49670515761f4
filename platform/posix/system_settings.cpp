#include "platform/posix/system_settings.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <vector>

#include "platform/settings_file.h"

namespace zlt {

namespace {

// The user's file as the XDG base directory rules place it: a relative
// XDG_CONFIG_HOME is not to be used.
std::string userSettingsFile(const Settings& environment)
{
    const std::string& folder = environment.configHome;
    return (folder.starts_with("/") ? folder : expandHome("~/.config", environment.home)) + "/zlt/zlt.conf";
}

// The file's text; false with `error` set when it is there but cannot be
// read, false and no error when there is none.
bool readText(const std::string& path, std::string& text, std::string& error)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            error = std::strerror(errno);
        return false;
    }
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(descriptor, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
        text.append(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0)));
    if (got < 0)
        error = std::strerror(errno);
    ::close(descriptor);
    return got == 0;
}

// The home folder when HOME is not set (a program started with an empty
// environment, as from a service or a DOS emulator's bare shell): the
// password database's, as a login would have set it.
std::string homeOfThisUser()
{
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

}  // namespace

Settings readSystemSettings(std::string_view program, const char* const* environment,
                            const std::string& machineFile, std::ostream& warnings)
{
    Settings fromFiles;
    fromFiles.home = homeOfThisUser();  // HOME, when set, overrides it
    std::vector<std::string> problems;
    for (const std::string& path : {machineFile, userSettingsFile(settingsFromEnvironment(environment, fromFiles))}) {
        std::string text, error;
        if (readText(path, text, error))
            readSettingsFile(text, path, fromFiles, problems);
        else if (!error.empty())
            problems.push_back(path + ": cannot be read (" + error + "); its settings are not used");
    }
    for (const std::string& problem : problems)
        warnings << program << ": setting: " << problem << '\n';

    Settings settings = settingsFromEnvironment(environment, fromFiles);
    if (settings.paperSize.empty()) {
        std::ifstream file("/etc/papersize");
        std::getline(file, settings.paperSize);
    }
    return settings;
}

Settings readSystemSettings(std::string_view program, const char* const* environment)
{
    return readSystemSettings(program, environment, MachineSettingsFile, std::cerr);
}

}  // namespace zlt
