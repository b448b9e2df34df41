// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereMcpBackend.h"

#include <QCoreApplication>

#include <chrono>
#include <utility>

namespace quillmere {
namespace {

// A sentence for the agent: the tool result shows it as the reason.
std::string reason(const ClientError& error)
{
    if (!error.message.isEmpty()) {
        return error.message.toStdString();
    }
    switch (error.kind) {
    case ClientError::Kind::notRunning:
        return QCoreApplication::translate("quillmerectl", "Quillmere is not running.").toStdString();
    case ClientError::Kind::refused:
    case ClientError::Kind::failed: break;
    }
    return QCoreApplication::translate("quillmerectl", "Quillmere did not answer.").toStdString();
}

} // namespace

void QuillmereMcpBackend::agentState(Callback<AgentStateReading> done)
{
    client_.document([this, done = std::move(done)](QuillmereClient::Result<AgentDocument> document) {
        if (!document) {
            done(std::unexpected(reason(document.error())));
            return;
        }
        nlohmann::json tree = nlohmann::json::parse(document->text, nullptr, false);
        if (tree.is_discarded()) {
            done(std::unexpected(std::string("The agent document is not JSON.")));
            return;
        }
        std::optional<std::int64_t> age;
        if (document->savedAt) {
            age = std::max<std::int64_t>(
                0, std::chrono::duration_cast<std::chrono::seconds>(client_.options().clock() - *document->savedAt)
                       .count());
        }
        done(AgentStateReading{std::move(tree),
                               document->savedAt ? AgentStateSource::file : AgentStateSource::application, age});
    });
}

void QuillmereMcpBackend::askUser(std::string text, std::string asker, int waitSeconds,
                                  Callback<AskedQuestion> done)
{
    // Blocks only while Quillmere is starting (a few seconds at most); a
    // closed Quillmere gets the question in its state folder.
    const auto delivered =
        client_.askAnywhere(QString::fromStdString(text), QString::fromStdString(asker));
    if (!delivered) {
        done(std::unexpected(reason(delivered.error())));
        return;
    }
    const QString id = delivered->id;
    if (waitSeconds <= 0) {
        done(AskedQuestion{id.toStdString(), std::nullopt});
        return;
    }
    client_.waitForAnswer(id, std::chrono::seconds(waitSeconds),
                          [id, done = std::move(done)](QuillmereClient::Result<std::optional<QString>> answer) {
                              if (!answer) {
                                  done(std::unexpected(reason(answer.error())));
                                  return;
                              }
                              done(AskedQuestion{id.toStdString(), *answer ? std::optional((*answer)->toStdString())
                                                                           : std::nullopt});
                          });
}

void QuillmereMcpBackend::answer(std::string id, Callback<QuestionStatus> done)
{
    client_.question(QString::fromStdString(id), [done = std::move(done)](QuillmereClient::Result<QuestionState> state) {
        if (!state) {
            done(std::unexpected(reason(state.error())));
            return;
        }
        done(QuestionStatus{state->answered, state->answer.toStdString()});
    });
}

void QuillmereMcpBackend::waitUntilInterruptible(int timeoutSeconds, Callback<bool> done)
{
    client_.waitUntilInterruptible(std::chrono::seconds(timeoutSeconds),
                                   [done = std::move(done)](QuillmereClient::Result<bool> interruptible) {
                                       if (!interruptible) {
                                           done(std::unexpected(reason(interruptible.error())));
                                           return;
                                       }
                                       done(*interruptible);
                                   });
}

} // namespace quillmere
