// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace quillmere {

// Runs file writes away from the thread that asks for them, one after another
// in the order they were posted, so that a slow disk never holds up the user
// interface. A write posted under a key replaces the one of that key still
// waiting: only the newest content of a file is worth writing. What a write
// has to say afterwards (a failure, a widget to wake) is handed back through
// `deliver`, which takes it to the owner's thread.
//
//     BackgroundWriter writer(BackgroundWriter::Mode::ownThread, deliverOnMainThread, "agent-file");
//     writer.post("agent-state.json", [text] {
//         auto written = writeAtomically(path, text, renameReplacing);
//         return BackgroundWriter::Then([written] { note(written); });
//     });
//     writer.waitUntilIdle(); // before the process quits
class BackgroundWriter {
public:
    // What the owner's thread runs once a write has finished; may be empty.
    using Then = std::function<void()>;
    using Write = std::function<Then()>;
    using Deliver = std::function<void(Then)>;
    // `immediate` writes at once inside post() and delivers there too: for
    // tests and for callers that want every write finished on return.
    enum class Mode { ownThread, immediate };

    // `threadName` (at most 15 bytes) names the thread for `top -H` and
    // debuggers.
    BackgroundWriter(Mode mode, Deliver deliver, std::string threadName = "writer");
    // Finishes every write posted, then stops the thread.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    void post(std::string key, Write write);
    // Returns once every write posted before the call has finished. Its
    // deliveries may still be on their way to the owner's thread.
    void waitUntilIdle();

private:
    struct Pending {
        std::string key;
        Write write;
    };
    void run();

    Mode mode_;
    Deliver deliver_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Pending> queue_;
    bool writing_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace quillmere
