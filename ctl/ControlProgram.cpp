// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlProgram.h"

#include "McpSession.h"
#include "QuillmereMcpBackend.h"
#include "StatusText.h"

#include "QuitOnSignal.h"

#include "quillmere/HistoryExport.h"
#include "quillmere/StateStore.h"
#include "quillmere/TimeZone.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QTimeZone>

#include <nlohmann/json.hpp>

#include <unistd.h>

namespace quillmere {
namespace {

QString translated(const char* source)
{
    return QCoreApplication::translate("quillmerectl", source);
}

// Runs the event loop until `finish` is called with the result, which may
// happen before the loop starts (a wait that ends at its first look).
class LoopResult {
public:
    void finish(ExitCode code)
    {
        if (!code_) {
            code_ = code;
            QCoreApplication::exit(static_cast<int>(code));
        }
    }
    ExitCode await() { return code_ ? *code_ : static_cast<ExitCode>(QCoreApplication::exec()); }

private:
    std::optional<ExitCode> code_;
};

} // namespace

ControlProgram::ControlProgram(QuillmereClient& client, std::ostream& out, std::ostream& err, QObject* parent)
    : QObject(parent), client_(client), out_(out), err_(err)
{
}

ExitCode ControlProgram::run(const Invocation& invocation)
{
    using Command = Invocation::Command;
    switch (invocation.command) {
    case Command::help: out_ << Invocation::helpText() << std::flush; return ExitCode::done;
    case Command::version: out_ << Invocation::versionText() << std::flush; return ExitCode::done;
    case Command::status: return invocation.watch ? watchStatus(invocation.json) : status(invocation.json);
    case Command::ask: return ask(invocation);
    case Command::questions: return questions(invocation.json);
    case Command::waitInterruptible: return waitInterruptible(invocation.timeout);
    case Command::pause: return command(ControlCommand::pauseFocus);
    case Command::resume: return command(ControlCommand::resumeFocus);
    case Command::endFocus: return command(ControlCommand::endFocus);
    case Command::extendBreak: return command(ControlCommand::extendBreak);
    case Command::endBreak: return command(ControlCommand::endBreak);
    case Command::skipBreak: return command(ControlCommand::skipBreak);
    case Command::start: return command(ControlCommand::startPlannedSession);
    case Command::startNow: return command(ControlCommand::startScheduledBlockNow);
    case Command::cancelScheduled: return command(ControlCommand::cancelScheduledBlock);
    case Command::show: return command(ControlCommand::showMainWindow);
    case Command::mcp: return mcp();
    case Command::exportHistory: return exportHistory(invocation);
    }
    return ExitCode::usage;
}

void ControlProgram::print(const QString& line)
{
    out_ << line.toStdString() << '\n' << std::flush;
}

void ControlProgram::note(const QString& message)
{
    err_ << "quillmerectl: " << message.toStdString() << '\n' << std::flush;
}

ExitCode ControlProgram::fail(const ClientError& error)
{
    switch (error.kind) {
    case ClientError::Kind::notRunning:
        return fail(error.message.isEmpty() ? translated("Quillmere is not running.") : error.message,
                    ExitCode::notRunning);
    case ClientError::Kind::refused:
    case ClientError::Kind::failed: return fail(error.message, ExitCode::refused);
    }
    return ExitCode::refused;
}

ExitCode ControlProgram::fail(const QString& message, ExitCode code)
{
    note(message);
    return code;
}

void ControlProgram::noteSaved(const AgentDocument& document)
{
    note(translated("Quillmere is not running; this is the state it saved %1.")
             .arg(StatusText::age(*document.savedAt, now())));
}

QString ControlProgram::describe(const AgentDocument& document, bool json, bool compact)
{
    if (!json) {
        // Looked up only here: most commands never show a time of day.
        const QTimeZone zone = QTimeZone::systemTimeZone();
        return document.savedAt ? StatusText::savedLine(document.snapshot, now(), zone)
                                : StatusText::line(document.snapshot, now(), zone);
    }
    if (document.savedAt) {
        noteSaved(document);
    }
    if (compact) {
        // Already decoded, so it parses; one line a document suits readers
        // that take a line at a time.
        return QString::fromStdString(nlohmann::json::parse(document.text).dump());
    }
    QString text = QString::fromStdString(document.text);
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text;
}

ExitCode ControlProgram::status(bool json)
{
    const auto document = client_.document();
    if (!document) {
        return fail(document.error());
    }
    print(describe(*document, json, false));
    return ExitCode::done;
}

ExitCode ControlProgram::watchStatus(bool json)
{
    // Ctrl+C or a TERM is how a watch is meant to end: exit status 0.
    QuitOnSignal quitOnSignal;
    QObject scope;
    LoopResult result;
    QString last;
    const auto show = [&](const QuillmereClient::Result<AgentDocument>& document) {
        if (!document && document.error().kind != ClientError::Kind::notRunning) {
            result.finish(fail(document.error()));
            return;
        }
        // Not running, with nothing saved, is a state like any other while
        // watching: Quillmere may start any moment. JSON readers get no
        // text on standard output for it.
        const QString shown = document ? describe(*document, json, true) : document.error().message;
        if (shown == last) {
            return;
        }
        last = shown;
        if (document || !json) {
            print(shown);
        } else {
            note(shown);
        }
    };
    // A reply may come after the watch has ended: it must not reach `show`.
    const auto refresh = [&, alive = QPointer<QObject>(&scope)] {
        client_.document([&, alive](const QuillmereClient::Result<AgentDocument>& document) {
            if (alive) {
                show(document);
            }
        });
    };
    client_.watch();
    connect(&client_, &QuillmereClient::agentStateChanged, &scope, refresh);
    show(client_.document());
    return result.await();
}

ExitCode ControlProgram::ask(const Invocation& invocation)
{
    auto delivered = client_.askAnywhere(invocation.text, invocation.asker);
    if (!delivered) {
        return fail(delivered.error());
    }
    print(delivered->id);
    if (delivered->savedOffline) {
        note(translated("Quillmere is not running; the question is saved and will be shown when it starts."));
    }
    return invocation.wait ? waitForAnswer(delivered->id, invocation.timeout) : ExitCode::done;
}

ExitCode ControlProgram::waitForAnswer(const QString& id, std::optional<std::chrono::milliseconds> timeout)
{
    LoopResult result;
    client_.waitForAnswer(id, timeout, [&](const QuillmereClient::Result<std::optional<QString>>& answer) {
        if (!answer) {
            result.finish(fail(answer.error()));
        } else if (!*answer) {
            result.finish(fail(translated("No answer came within the timeout."), ExitCode::timedOut));
        } else {
            print(**answer);
            result.finish(ExitCode::done);
        }
    });
    return result.await();
}

ExitCode ControlProgram::questions(bool json)
{
    const auto document = client_.document();
    if (!document) {
        return fail(document.error());
    }
    if (json) {
        if (document->savedAt) {
            noteSaved(*document);
        }
        print(QString::fromStdString(nlohmann::json::parse(document->text).at("open_questions").dump(2)));
        return ExitCode::done;
    }
    if (document->savedAt) {
        print(translated("Quillmere is not running; as of %1:").arg(StatusText::age(*document->savedAt, now())));
    }
    print(StatusText::questions(document->snapshot.openQuestions, now()));
    return ExitCode::done;
}

ExitCode ControlProgram::waitInterruptible(std::optional<std::chrono::milliseconds> timeout)
{
    LoopResult result;
    client_.waitUntilInterruptible(timeout, [&](const QuillmereClient::Result<bool>& interruptible) {
        if (!interruptible) {
            result.finish(fail(interruptible.error()));
        } else if (!*interruptible) {
            result.finish(
                fail(translated("The user could still not be interrupted at the timeout."), ExitCode::timedOut));
        } else {
            result.finish(ExitCode::done);
        }
    });
    return result.await();
}

ExitCode ControlProgram::command(ControlCommand command)
{
    const auto result = client_.run(command);
    return result ? ExitCode::done : fail(result.error());
}

ExitCode ControlProgram::mcp()
{
    LoopResult result;
    QuillmereMcpBackend backend(client_);
    McpSession session(client_, backend, STDIN_FILENO, [this](std::string message) { out_ << message << std::flush; });
    connect(&session, &McpSession::ended, this, [&result] { result.finish(ExitCode::done); });
    return result.await();
}

ExitCode ControlProgram::exportHistory(const Invocation& invocation)
{
    // Straight from the saved state, read-only: the export needs neither the
    // running Quillmere nor its lock, since every save replaces the file whole.
    const StateStore store(client_.options().stateFolder, client_.options().clock);
    const auto state = store.load();
    if (!state) {
        return fail(QString::fromStdString(state.error().description()), ExitCode::refused);
    }
    const auto bytes =
        quillmere::exportHistory(*state, invocation.exportFormat, invocation.exportRange, TimeZone::system(), now());
    if (!bytes) {
        return fail(QString::fromStdString(bytes.error().description()), ExitCode::refused);
    }
    if (invocation.output.isEmpty()) {
        out_ << *bytes << std::flush;
        return ExitCode::done;
    }
    const std::filesystem::path path = QFile::encodeName(invocation.output).toStdString();
    if (const FileResult written = writeExport(path, *bytes, invocation.force); !written) {
        if (written.error().code == std::errc::file_exists && !invocation.force) {
            return fail(translated("%1 already exists; add --force to replace it.").arg(invocation.output),
                        ExitCode::outputExists);
        }
        return fail(QString::fromStdString(written.error().description()), ExitCode::cannotWrite);
    }
    return ExitCode::done;
}

} // namespace quillmere
