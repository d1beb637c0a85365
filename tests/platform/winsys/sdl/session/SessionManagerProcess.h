#pragma once
// The tests' own session manager (test_session_manager), run as a program
// apart and talked to through its stdin and stdout; see its source for the
// lines it takes and prints.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tarvel {

class SessionManagerProcess {
public:
    // Starts it (its connections unauthenticated: neither side reads the
    // user's own ICE authority file, which ICEAUTHORITY moves to an empty
    // one for the whole process).
    bool Start(std::string& why) {
        const std::string authority = std::string(TARVEL_BINARY_DIR) + "/session-test.ICEauthority";
        close(open(authority.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600));
        setenv("ICEAUTHORITY", authority.c_str(), 1);
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return why = "no pipes", false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        char* argv[] = {const_cast<char*>(TARVEL_TEST_SESSION_MANAGER), nullptr};
        const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        commands_ = in[1];
        if (rc != 0) return why = "the manager does not start", false;
        reader_ = std::thread([this, fd = out[0]] {
            std::string pending;
            char buffer[512];
            ssize_t n;
            while ((n = read(fd, buffer, sizeof buffer)) > 0) {
                pending.append(buffer, static_cast<size_t>(n));
                for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
                    std::lock_guard<std::mutex> lock(mutex_);
                    lines_.push_back(pending.substr(0, end));
                    pending.erase(0, end + 1);
                    came_.notify_all();
                }
            }
            close(fd);
        });
        std::unique_lock<std::mutex> lock(mutex_);
        if (!came_.wait_for(lock, std::chrono::seconds(5), [&] { return !lines_.empty(); }) ||
            lines_[0].compare(0, 8, "address ") != 0)
            return why = "no address", false;
        address_ = lines_[0].substr(8);
        return true;
    }
    ~SessionManagerProcess() {
        if (commands_ >= 0) close(commands_);
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (reader_.joinable()) reader_.join();
    }
    const std::string& Address() const { return address_; }
    void Send(const std::string& command) {
        const std::string line = command + "\n";
        [[maybe_unused]] ssize_t n = write(commands_, line.data(), line.size());
    }
    // A line starting with `prefix` came (the first such, into `line`).
    bool Heard(const std::string& prefix, std::string* line = nullptr) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const std::string& l : lines_)
            if (l.compare(0, prefix.size(), prefix) == 0) {
                if (line) *line = l;
                return true;
            }
        return false;
    }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    void Forget() {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.clear();
    }

private:
    pid_t pid_ = -1;
    int commands_ = -1;
    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable came_;
    std::vector<std::string> lines_;
    std::string address_;
};

}  // namespace tarvel
