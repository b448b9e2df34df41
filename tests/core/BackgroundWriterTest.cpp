// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/BackgroundWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

// Records what ran, on which thread, and what was delivered back.
struct Journal {
    std::mutex mutex;
    std::vector<std::string> written;
    std::vector<std::thread::id> threads;
    std::vector<BackgroundWriter::Then> delivered;

    BackgroundWriter::Deliver deliver()
    {
        return [this](BackgroundWriter::Then then) {
            const std::lock_guard lock(mutex);
            delivered.push_back(std::move(then));
        };
    }

    BackgroundWriter::Write write(std::string name, std::vector<std::string>* told = nullptr)
    {
        return [this, name, told]() -> BackgroundWriter::Then {
            {
                const std::lock_guard lock(mutex);
                written.push_back(name);
                threads.push_back(std::this_thread::get_id());
            }
            if (told == nullptr) {
                return nullptr;
            }
            return [told, name] { told->push_back(name); };
        };
    }
};

TEST(BackgroundWriter, WritesInOrderOffTheCallersThreadAndOnlyTheNewestWaitingContentOfAFile)
{
    Journal journal;
    std::vector<std::string> told;
    std::promise<void> diskFree;
    BackgroundWriter writer(BackgroundWriter::Mode::ownThread, journal.deliver());

    // The first write is stuck on a slow disk while the others queue up.
    writer.post("slow", [&, freed = diskFree.get_future().share()]() -> BackgroundWriter::Then {
        freed.wait();
        return journal.write("slow", &told)();
    });
    writer.post("state.json", journal.write("state 1", &told));
    writer.post("agent-state.json", journal.write("agent 1"));
    writer.post("state.json", journal.write("state 2", &told));
    diskFree.set_value();
    writer.waitUntilIdle();

    EXPECT_EQ(journal.written, (std::vector<std::string>{"slow", "state 2", "agent 1"}));
    for (const std::thread::id thread : journal.threads) {
        EXPECT_NE(thread, std::this_thread::get_id());
    }
    // Nothing runs on the caller's thread until it takes the deliveries.
    EXPECT_TRUE(told.empty());
    for (const auto& then : journal.delivered) {
        then();
    }
    EXPECT_EQ(told, (std::vector<std::string>{"slow", "state 2"}));
}

TEST(BackgroundWriter, EveryWritePostedIsDoneBeforeItIsDestroyed)
{
    Journal journal;
    {
        BackgroundWriter writer(BackgroundWriter::Mode::ownThread, journal.deliver());
        for (int file = 0; file < 5; ++file) {
            writer.post("file " + std::to_string(file), [&journal, file]() -> BackgroundWriter::Then {
                std::this_thread::sleep_for(10ms);
                return journal.write("file " + std::to_string(file))();
            });
        }
    }
    EXPECT_EQ(journal.written.size(), 5u);
}

TEST(BackgroundWriter, ImmediateWritesAndDeliversBeforePostReturns)
{
    std::vector<std::string> told;
    Journal journal;
    BackgroundWriter writer(BackgroundWriter::Mode::immediate, [](BackgroundWriter::Then then) { then(); });

    writer.post("state.json", journal.write("state 1", &told));

    EXPECT_EQ(told, std::vector<std::string>{"state 1"});
    EXPECT_EQ(journal.threads, std::vector<std::thread::id>{std::this_thread::get_id()});
}

} // namespace
} // namespace quillmere
