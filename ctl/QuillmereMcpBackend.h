// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuillmereClient.h"

#include "quillmere/mcp/McpBackend.h"

namespace quillmere {

// What the MCP server asks of Quillmere, answered through a QuillmereClient:
// the live agent document or, with Quillmere closed, the one it last saved
// and its age; questions asked wherever they can be kept; waits that run on
// the event loop, so the server answers other requests meanwhile.
class QuillmereMcpBackend final : public McpBackend {
public:
    explicit QuillmereMcpBackend(QuillmereClient& client) : client_(client) {}

    void agentState(Callback<AgentStateReading> done) override;
    void askUser(std::string text, std::string asker, int waitSeconds, Callback<AskedQuestion> done) override;
    void answer(std::string id, Callback<QuestionStatus> done) override;
    void waitUntilInterruptible(int timeoutSeconds, Callback<bool> done) override;

private:
    QuillmereClient& client_;
};

} // namespace quillmere
