// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for `quillmerectl mcp` with no application behind it: the MCP
// server over standard input and output, with a backend that invents its
// answers. It lets the SDK client test (tests/mcp-client) check this
// library's messages against the official client before the real program
// exists, and afterwards whenever the real one cannot run.
//
// `FAKE_QUILLMERECTL_TRIGGER` names a file: once it appears it is removed,
// the phase moves on and the server announces the change, as the real
// program does when the application says the phase changed. So
// QUILLMERE_CHANGE_PHASE='touch $FAKE_QUILLMERECTL_TRIGGER' changes the phase.

#include "quillmere/mcp/LineReader.h"
#include "quillmere/mcp/McpServer.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace quillmere;
using Clock = std::chrono::steady_clock;

class InventedBackend : public McpBackend {
public:
    bool focusing = true;

    void agentState(Callback<AgentStateReading> done) override
    {
        done(AgentStateReading{{{"schema_version", 1},
                                {"workflow_state", focusing ? "focusing" : "breaking"},
                                {"interruptible", !focusing},
                                {"remaining_seconds", 1068},
                                {"open_questions", questions}},
                               AgentStateSource::application,
                               std::nullopt});
    }

    void askUser(std::string text, std::string asker, int waitSeconds, Callback<AskedQuestion> done) override
    {
        const std::string id = "00000000-0000-4000-8000-" + std::to_string(100000000000 + questions.size());
        questions.push_back({{"id", id}, {"question", std::move(text)}, {"asked_by", std::move(asker)}});
        if (waitSeconds == 0) {
            done(AskedQuestion{id, std::nullopt});
            return;
        }
        later(waitSeconds, [done, id] { done(AskedQuestion{id, std::nullopt}); });
    }

    void answer(std::string id, Callback<QuestionStatus> done) override
    {
        for (const auto& question : questions) {
            if (question["id"] == id) {
                done(QuestionStatus{false, {}});
                return;
            }
        }
        done(std::unexpected("No question has the id " + id));
    }

    void waitUntilInterruptible(int timeoutSeconds, Callback<bool> done) override
    {
        if (!focusing) {
            done(true);
            return;
        }
        later(timeoutSeconds, [done] { done(false); });
    }

    // Runs the timers that are due.
    void runDue()
    {
        const auto now = Clock::now();
        std::vector<std::function<void()>> due;
        std::erase_if(timers, [&](const auto& timer) {
            if (timer.first > now) {
                return false;
            }
            due.push_back(timer.second);
            return true;
        });
        for (const auto& run : due) {
            run();
        }
    }

private:
    void later(int seconds, std::function<void()> run)
    {
        timers.emplace_back(Clock::now() + std::chrono::seconds(seconds), std::move(run));
    }

    nlohmann::json questions = nlohmann::json::array();
    std::vector<std::pair<Clock::time_point, std::function<void()>>> timers;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || std::string_view(argv[1]) != "mcp") {
        std::fprintf(stderr, "usage: %s mcp\n", argv[0]);
        return 2;
    }
    const char* triggerVariable = std::getenv("FAKE_QUILLMERECTL_TRIGGER");
    const std::filesystem::path trigger = triggerVariable != nullptr ? triggerVariable : "";

    InventedBackend backend;
    McpServer server(backend, [](std::string message) {
        std::fwrite(message.data(), 1, message.size(), stdout);
        std::fflush(stdout);
    });
    LineReader reader;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        backend.runDue();
        pollfd input{STDIN_FILENO, POLLIN, 0};
        // Often enough for the timers and the trigger file; nothing here
        // needs to be prompt to the millisecond.
        const int ready = poll(&input, 1, 100);
        std::error_code ignored;
        if (!trigger.empty() && std::filesystem::remove(trigger, ignored)) {
            backend.focusing = !backend.focusing;
            server.agentStateChanged();
        }
        if (ready <= 0) {
            continue;
        }
        const ssize_t count = read(STDIN_FILENO, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            if (const auto last = reader.finish()) {
                server.receive(*last);
            }
            return 0;
        }
        for (const auto& line : reader.feed(std::string_view(buffer.data(), static_cast<std::size_t>(count)))) {
            server.receive(line);
        }
    }
}
