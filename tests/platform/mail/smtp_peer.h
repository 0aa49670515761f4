#pragma once
// The real SMTP server of the mail tests (smtp_peer.py under /usr/bin/python3,
// aiosmtpd on 127.0.0.1) in a temporary folder, driven over its standard
// input and output. Every wait is bounded; the server ends with the object.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zlt::testing {

using ReceivedMessage = std::map<std::string, std::string>;  // field -> value, as the peer reads it

class SmtpPeer {
public:
    // `options`: the peer's own (--refuse ADDRESS=REPLY, --auth USER:PASSWORD ...).
    explicit SmtpPeer(std::vector<std::string> options = {})
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zlt-mail-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        dir_ = pattern;
        std::vector<std::string> arguments = {"/usr/bin/python3", SMTP_PEER_SCRIPT, "--folder", (dir_ / "received").string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        signal(SIGPIPE, SIG_IGN);  // a peer that died fails the test, not the process
        start(arguments);
        try {
            const std::string first = line();
            if (first.rfind("port ", 0) != 0)
                throw std::runtime_error("the SMTP peer did not start: " + first);
            port_ = std::stoi(first.substr(5));
        } catch (...) {
            stop();
            throw;
        }
    }
    ~SmtpPeer() { stop(); }
    SmtpPeer(const SmtpPeer&) = delete;
    SmtpPeer& operator=(const SmtpPeer&) = delete;

    int port() const { return port_; }
    const std::filesystem::path& dir() const { return dir_; }

    int connections() { return std::stoi(ask("connections").substr(12)); }
    void dropConnections() { ask("drop"); }

    std::vector<ReceivedMessage> messages()
    {
        command("messages");
        std::vector<ReceivedMessage> out;
        for (std::string text = line(); text != "done"; text = line()) {
            if (text == "message")
                out.emplace_back();
            else if (const auto space = text.find(' '); space != std::string::npos && !out.empty())
                out.back()[text.substr(0, space)] = fromHex(text.substr(space + 1));
        }
        return out;
    }

private:
    // The end of standard input ends the peer; it gets five seconds.
    void stop()
    {
        close(toPeer_);
        close(fromPeer_);
        for (int waited = 0; pid_ > 0 && waited < 100 && waitpid(pid_, nullptr, WNOHANG) == 0; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    void start(const std::vector<std::string>& arguments)
    {
        int input[2], output[2];
        if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0)
            throw std::runtime_error("no pipe for the SMTP peer");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        std::vector<char*> argv;
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(input[0]);
        close(output[1]);
        toPeer_ = input[1];
        fromPeer_ = output[0];
        if (error != 0)
            throw std::runtime_error("cannot start /usr/bin/python3");
    }

    void command(const std::string& text)
    {
        const std::string out = text + "\n";
        if (write(toPeer_, out.data(), out.size()) != static_cast<ssize_t>(out.size()))
            throw std::runtime_error("the SMTP peer is gone");
    }

    std::string ask(const std::string& text)
    {
        command(text);
        return line();
    }

    // One line of the peer's answer, waiting 20 seconds at most.
    std::string line()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (auto end = buffer_.find('\n'); end == std::string::npos; end = buffer_.find('\n')) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd ready {fromPeer_, POLLIN, 0};
            char chunk[4096];
            const ssize_t got = left.count() > 0 && poll(&ready, 1, static_cast<int>(left.count())) > 0
                                    ? read(fromPeer_, chunk, sizeof chunk)
                                    : -1;
            if (got <= 0)
                throw std::runtime_error("no answer from the SMTP peer");
            buffer_.append(chunk, static_cast<std::size_t>(got));
        }
        const auto end = buffer_.find('\n');
        std::string text = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return text;
    }

    static std::string fromHex(const std::string& hex)
    {
        std::string out;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        return out;
    }

    std::filesystem::path dir_;
    pid_t pid_ = -1;
    int toPeer_ = -1;
    int fromPeer_ = -1;
    int port_ = 0;
    std::string buffer_;
};

}  // namespace zlt::testing
