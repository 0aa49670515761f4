#pragma once
// A temporary folder with a stand-in for xdg-open that writes each argument
// it gets on a line of its log, and the environment that puts it alone on
// the PATH of the program under test.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zlt::testing {

class OpenerSandbox {
public:
    OpenerSandbox()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "webhop-e2e-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        dir_ = pattern;
        std::filesystem::create_directory(binDir());
    }
    ~OpenerSandbox()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    OpenerSandbox(const OpenerSandbox&) = delete;
    OpenerSandbox& operator=(const OpenerSandbox&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    std::filesystem::path binDir() const { return dir_ / "bin"; }
    std::filesystem::path opener() const { return binDir() / "xdg-open"; }
    std::filesystem::path openerLog() const { return binDir() / "xdg-open.log"; }

    // `ending`: the script's last lines, after the arguments are logged.
    void installOpener(const std::string& ending) const
    {
        std::ofstream script(opener());
        script << "#!/bin/sh\n"
               << "printf '%s\\n' \"$@\" >> \"$0.log\"\n"
               << ending << "\n";
        script.close();
        std::filesystem::permissions(opener(), std::filesystem::perms::owner_all);
    }

    // PATH and HOME inside the sandbox, `extra` and the test run's sanitizer
    // settings; nothing else of the test's environment (no DISPLAY).
    std::vector<std::string> environment(const std::vector<std::string>& extra = {}) const
    {
        std::vector<std::string> variables = {"PATH=" + binDir().string(), "HOME=" + dir_.string()};
        variables.insert(variables.end(), extra.begin(), extra.end());
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
            if (const char* value = std::getenv(name))
                variables.push_back(std::string(name) + "=" + value);
        }
        return variables;
    }

private:
    std::filesystem::path dir_;
};

}  // namespace zlt::testing
