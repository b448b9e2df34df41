// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quillmere {
namespace {

// The probe program, started and killed by signal the way a session's logout
// or a terminal's Ctrl+C does it.
class Probe {
public:
    explicit Probe(const char* mode)
    {
        int output[2];
        EXPECT_EQ(::pipe(output), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(output[1], STDOUT_FILENO);
            ::execl(QUILLMERE_QUIT_PROBE, QUILLMERE_QUIT_PROBE, mode, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(output[1]);
        char line[16] = {};
        // "ready" once the event loop runs.
        ready_ = ::read(output[0], line, sizeof line - 1) > 0 && std::string(line).starts_with("ready");
        ::close(output[0]);
    }

    bool ready() const { return ready_; }

    // The wait status once the process has ended, none if it is still
    // running after `patience` (then it is killed).
    std::optional<int> signalAndWait(int signal, std::chrono::seconds patience)
    {
        ::kill(pid_, signal);
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        return std::nullopt;
    }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

TEST(QuitOnSignal, ASignalQuitsTheEventLoopInOrder)
{
    Probe probe("idle");
    ASSERT_TRUE(probe.ready());
    const auto status = probe.signalAndWait(SIGTERM, std::chrono::seconds(10));
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

// A blocking open of a named pipe once kept the application alive through
// SIGTERM: the handler is installed to restart system calls.
TEST(QuitOnSignal, ASignalEndsTheProcessEvenWhenTheLoopIsStuck)
{
    Probe probe("stuck");
    ASSERT_TRUE(probe.ready());
    const auto status = probe.signalAndWait(SIGTERM, std::chrono::seconds(10));
    ASSERT_TRUE(status) << "still running";
    EXPECT_TRUE(WIFSIGNALED(*status));
    EXPECT_EQ(WTERMSIG(*status), SIGTERM);
}

} // namespace
} // namespace quillmere
