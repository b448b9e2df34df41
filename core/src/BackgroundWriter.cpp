// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/BackgroundWriter.h"

#include <algorithm>

#include <pthread.h>

namespace quillmere {

BackgroundWriter::BackgroundWriter(Mode mode, Deliver deliver, std::string threadName)
    : mode_(mode), deliver_(std::move(deliver))
{
    if (mode_ == Mode::ownThread) {
        thread_ = std::thread([this] { run(); });
        threadName.resize(std::min<std::size_t>(threadName.size(), 15));
        ::pthread_setname_np(thread_.native_handle(), threadName.c_str());
    }
}

BackgroundWriter::~BackgroundWriter()
{
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void BackgroundWriter::post(std::string key, Write write)
{
    if (mode_ == Mode::immediate) {
        if (Then then = write()) {
            deliver_(std::move(then));
        }
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        const auto waiting = std::ranges::find(queue_, key, &Pending::key);
        if (waiting != queue_.end()) {
            waiting->write = std::move(write);
        } else {
            queue_.push_back({std::move(key), std::move(write)});
        }
    }
    wake_.notify_one();
}

void BackgroundWriter::waitUntilIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !writing_; });
}

void BackgroundWriter::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) {
            return; // stopping, and everything posted is written
        }
        Write write = std::move(queue_.front().write);
        queue_.pop_front();
        writing_ = true;
        lock.unlock();
        if (Then then = write()) {
            deliver_(std::move(then));
        }
        lock.lock();
        writing_ = false;
        if (queue_.empty()) {
            idle_.notify_all();
        }
    }
}

} // namespace quillmere
