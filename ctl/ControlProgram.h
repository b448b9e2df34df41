// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ExitCode.h"
#include "Invocation.h"
#include "QuillmereClient.h"

#include <QObject>

#include <chrono>
#include <optional>
#include <ostream>

namespace quillmere {

// Carries out one Invocation against Quillmere through a QuillmereClient and
// says how it went: text for people or JSON for programs on `out`, reasons on
// `err`, and the exit code. Commands that wait (status --watch, ask --wait,
// wait-interruptible) run the application's event loop until they are done;
// the others only make blocking calls, which keeps them quick to start.
class ControlProgram final : public QObject {
    Q_OBJECT

public:
    ControlProgram(QuillmereClient& client, std::ostream& out, std::ostream& err, QObject* parent = nullptr);

    [[nodiscard]] ExitCode run(const Invocation& invocation);

private:
    ExitCode status(bool json);
    ExitCode watchStatus(bool json);
    ExitCode ask(const Invocation& invocation);
    ExitCode waitForAnswer(const QString& id, std::optional<std::chrono::milliseconds> timeout);
    ExitCode questions(bool json);
    ExitCode waitInterruptible(std::optional<std::chrono::milliseconds> timeout);
    ExitCode command(ControlCommand command);
    ExitCode mcp();
    ExitCode exportHistory(const Invocation& invocation);

    // The status line, or with `json` the document (on one line when
    // `compact`); a note goes to `err` for a saved document.
    QString describe(const AgentDocument& document, bool json, bool compact);
    // Tells `err` that a document is the saved one, and how old it is.
    void noteSaved(const AgentDocument& document);

    // Says why on `err` and gives the exit code that goes with it.
    ExitCode fail(const ClientError& error);
    ExitCode fail(const QString& message, ExitCode code);
    void note(const QString& message);
    void print(const QString& line);
    Instant now() const { return client_.options().clock(); }

    QuillmereClient& client_;
    std::ostream& out_;
    std::ostream& err_;
};

} // namespace quillmere
