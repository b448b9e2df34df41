// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuillmereClient.h"

#include "quillmere/mcp/LineReader.h"
#include "quillmere/mcp/McpBackend.h"
#include "quillmere/mcp/McpServer.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <string>

class QSocketNotifier;

namespace quillmere {

// One MCP session over a file descriptor (standard input) and a writer
// (standard output): feeds what arrives to the protocol server, tells it when
// Quillmere's phase or questions change so that subscribers hear of it, keeps
// long waits alive with progress, and says when the input has ended.
class McpSession final : public QObject {
    Q_OBJECT

public:
    McpSession(QuillmereClient& client, McpBackend& backend, int input, McpServer::Send send,
               QObject* parent = nullptr);

signals:
    // The client closed the input: the session is over.
    void ended();

private:
    void readInput();

    McpServer server_;
    LineReader reader_;
    QSocketNotifier* notifier_ = nullptr;
    int input_;
    // A change of phase and of the question count often come together: one
    // notification for both.
    QTimer changed_;
    QTimer progress_;
};

} // namespace quillmere
