// SPDX-License-Identifier: GPL-3.0-or-later
#include "McpSession.h"

#include <QSocketNotifier>

#include <cerrno>
#include <chrono>
#include <unistd.h>

namespace quillmere {
namespace {

// Less than the 60 s after which clients give up on a request that shows no
// progress, with room to spare.
constexpr std::chrono::seconds progressInterval{10};

} // namespace

McpSession::McpSession(QuillmereClient& client, McpBackend& backend, int input, McpServer::Send send,
                       QObject* parent)
    : QObject(parent), server_(backend, std::move(send)), input_(input)
{
    changed_.setSingleShot(true);
    changed_.setInterval(std::chrono::milliseconds(20));
    connect(&changed_, &QTimer::timeout, this, [this] { server_.agentStateChanged(); });
    progress_.setInterval(progressInterval);
    connect(&progress_, &QTimer::timeout, this, [this] {
        if (server_.pendingCallCount() > 0) {
            server_.reportProgress();
        }
    });
    progress_.start();

    client.watch();
    connect(&client, &QuillmereClient::agentStateChanged, &changed_, qOverload<>(&QTimer::start));

    notifier_ = new QSocketNotifier(input_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &McpSession::readInput);
}

void McpSession::readInput()
{
    char buffer[64 * 1024];
    const ssize_t count = ::read(input_, buffer, sizeof buffer);
    if (count < 0) {
        if (errno == EINTR || errno == EAGAIN) {
            return;
        }
    }
    if (count <= 0) {
        notifier_->setEnabled(false);
        if (const auto last = reader_.finish()) {
            server_.receive(*last);
        }
        emit ended();
        return;
    }
    for (const auto& line : reader_.feed(std::string_view(buffer, static_cast<std::size_t>(count)))) {
        server_.receive(line);
    }
}

} // namespace quillmere
