#include "ControlProgram.h"

#include "StatusText.h"

#include "QuitOnSignal.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimeZone>
#include <QTimer>

#include <nlohmann/json.hpp>

namespace quillmere {
namespace {

QString translated(const char* source)
{
    return QCoreApplication::translate("quillmerectl", source);
}

// The end of a command that waits. The first word on the outcome counts;
// whatever comes after it (a late reply, a second signal) is ignored. The
// timeout is only honoured once the first look has been answered, so that a
// timeout of 0 means "look once" rather than a race with the reply.
class Waiting {
public:
    void end(ExitCode code)
    {
        if (!over_) {
            over_ = true;
            code_ = code;
            QCoreApplication::exit(static_cast<int>(code));
        }
    }
    bool over() const { return over_; }
    // Runs the event loop until the end, unless that came before it.
    ExitCode run(std::optional<std::chrono::milliseconds> timeout)
    {
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] { expire(); });
        if (timeout) {
            timer.start(*timeout);
        }
        return over_ ? code_ : static_cast<ExitCode>(QCoreApplication::exec());
    }
    // The first look found nothing yet.
    void settle()
    {
        settled_ = true;
        if (expired_) {
            end(ExitCode::timedOut);
        }
    }
    void expire()
    {
        expired_ = true;
        if (settled_) {
            end(ExitCode::timedOut);
        }
    }

private:
    ExitCode code_ = ExitCode::done;
    bool over_ = false;
    bool settled_ = false;
    bool expired_ = false;
};

// A callback that outlives the command it belongs to (a reply arriving after
// the loop ended) must not touch that command's locals.
template <class Function>
auto guarded(QObject& scope, Function function)
{
    return [alive = QPointer<QObject>(&scope), function = std::move(function)](auto&&... arguments) {
        if (alive) {
            function(std::forward<decltype(arguments)>(arguments)...);
        }
    };
}

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
    case Command::pause: return command(ApplicationCommand::pauseFocus);
    case Command::resume: return command(ApplicationCommand::resumeFocus);
    case Command::endFocus: return command(ApplicationCommand::endFocus);
    case Command::extendBreak: return command(ApplicationCommand::extendBreak);
    case Command::endBreak: return command(ApplicationCommand::endBreak);
    case Command::skipBreak: return command(ApplicationCommand::skipBreak);
    case Command::start: return command(ApplicationCommand::startPlannedSession);
    case Command::startNow: return command(ApplicationCommand::startScheduledBlockNow);
    case Command::cancelScheduled: return command(ApplicationCommand::cancelScheduledBlock);
    case Command::show: return command(ApplicationCommand::showMainWindow);
    }
    return ExitCode::usage;
}

void ControlProgram::print(const QString& line)
{
    out_ << line.toStdString() << '\n' << std::flush;
}

ExitCode ControlProgram::fail(const ClientError& error)
{
    switch (error.kind) {
    case ClientError::Kind::notRunning:
        return fail(error.message.isEmpty() ? translated("Quillmere is not running.") : error.message, ExitCode::notRunning);
    case ClientError::Kind::refused:
    case ClientError::Kind::failed: return fail(error.message, ExitCode::refused);
    }
    return ExitCode::refused;
}

ExitCode ControlProgram::fail(const QString& message, ExitCode code)
{
    err_ << "quillmerectl: " << message.toStdString() << '\n' << std::flush;
    return code;
}

std::expected<ControlProgram::Reading, ClientError>
ControlProgram::reading(const QuillmereClient::Result<QString>& live) const
{
    if (live) {
        std::string document = live->toStdString();
        auto snapshot = decodeAgentSnapshot(document);
        if (!snapshot) {
            return std::unexpected(ClientError{ClientError::Kind::failed, {},
                                               translated("Quillmere sent an agent document that cannot be read: %1")
                                                   .arg(QString::fromStdString(snapshot.error().description()))});
        }
        return Reading{.document = std::move(document), .snapshot = std::move(*snapshot), .saved = false};
    }
    if (live.error().kind != ClientError::Kind::notRunning) {
        return std::unexpected(live.error());
    }
    auto saved = client_.savedAgentState();
    if (!saved) {
        if (saved.error().missing) {
            return std::unexpected(ClientError{
                ClientError::Kind::notRunning, {},
                translated("Quillmere is not running, and has saved no state in %1 yet.")
                    .arg(QString::fromStdString(client_.options().stateFolder.string()))});
        }
        return std::unexpected(
            ClientError{ClientError::Kind::failed, {}, QString::fromStdString(saved.error().description)});
    }
    return Reading{.document = std::move(saved->document), .snapshot = std::move(saved->snapshot), .saved = true};
}

void ControlProgram::noteSaved(const Reading& reading)
{
    err_ << "quillmerectl: "
         << translated("Quillmere is not running; this is the state it saved %1.")
                .arg(StatusText::age(reading.snapshot.updatedAt, now()))
                .toStdString()
         << '\n'
         << std::flush;
}

QString ControlProgram::describe(const Reading& reading, bool json, bool compact)
{
    if (!json) {
        // Looked up only here: most commands never show a time of day.
        const QTimeZone zone = QTimeZone::systemTimeZone();
        return reading.saved ? StatusText::savedLine(reading.snapshot, now(), zone)
                             : StatusText::line(reading.snapshot, now(), zone);
    }
    if (reading.saved) {
        noteSaved(reading);
    }
    if (compact) {
        // Already decoded, so it parses; one line a document suits readers
        // that take a line at a time.
        return QString::fromStdString(nlohmann::json::parse(reading.document).dump());
    }
    QString document = QString::fromStdString(reading.document);
    if (document.endsWith(QLatin1Char('\n'))) {
        document.chop(1);
    }
    return document;
}

ExitCode ControlProgram::status(bool json)
{
    auto current = reading(client_.agentState());
    if (!current) {
        return fail(current.error());
    }
    print(describe(*current, json, false));
    return ExitCode::done;
}

ExitCode ControlProgram::watchStatus(bool json)
{
    // Ctrl+C or a TERM is how a watch is meant to end: exit status 0.
    QuitOnSignal quitOnSignal;
    QObject scope;
    Waiting waiting;
    QString last;
    const auto show = [&](const QuillmereClient::Result<QString>& live) {
        auto current = reading(live);
        if (!current && current.error().kind != ClientError::Kind::notRunning) {
            waiting.end(fail(current.error()));
            return;
        }
        // Not running, with nothing saved, is a state like any other while
        // watching: Quillmere may start any moment. JSON readers get no
        // text on standard output for it.
        const QString shown = current ? describe(*current, json, true) : current.error().message;
        if (shown == last) {
            return;
        }
        last = shown;
        if (current || !json) {
            print(shown);
        } else {
            err_ << "quillmerectl: " << shown.toStdString() << '\n' << std::flush;
        }
    };
    const auto refresh = [&] { client_.agentState(guarded(scope, show)); };
    client_.watch();
    connect(&client_, &QuillmereClient::phaseChanged, &scope, refresh);
    connect(&client_, &QuillmereClient::interruptibleChanged, &scope, refresh);
    connect(&client_, &QuillmereClient::openQuestionCountChanged, &scope, refresh);
    connect(&client_, &QuillmereClient::runningChanged, &scope, refresh);
    show(client_.agentState());
    return waiting.run(std::nullopt);
}

ExitCode ControlProgram::ask(const Invocation& invocation)
{
    auto asked = client_.askAnywhere(invocation.text, invocation.asker);
    if (!asked) {
        return fail(asked.error());
    }
    print(asked->id);
    if (asked->savedOffline) {
        err_ << "quillmerectl: "
             << translated("Quillmere is not running; the question is saved and will be shown when it starts.").toStdString()
             << '\n'
             << std::flush;
    }
    return invocation.wait ? waitForAnswer(asked->id, invocation.timeout) : ExitCode::done;
}

ExitCode ControlProgram::waitForAnswer(const QString& id, std::optional<std::chrono::milliseconds> timeout)
{
    QObject scope;
    Waiting waiting;
    const auto answered = [&](const QString& answer) {
        if (!waiting.over()) {
            print(answer);
            waiting.end(ExitCode::done);
        }
    };
    // Asked at the start and whenever Quillmere comes back: it may have
    // been answered while nobody listened.
    const auto look = [&] {
        client_.question(id, guarded(scope, [&](const QuillmereClient::Result<QuestionState>& state) {
                             if (waiting.over()) {
                                 return;
                             }
                             if (state && state->answered) {
                                 answered(state->answer);
                             } else if (!state && state.error().kind != ClientError::Kind::notRunning) {
                                 waiting.end(fail(state.error()));
                             } else {
                                 waiting.settle();
                             }
                         }));
    };
    client_.watch();
    connect(&client_, &QuillmereClient::questionAnswered, &scope, [&](const QString& answeredId, const QString& answer) {
        // Ids are compared as identifiers, which ignore letter case.
        if (answeredId.compare(id, Qt::CaseInsensitive) == 0) {
            answered(answer);
        }
    });
    connect(&client_, &QuillmereClient::runningChanged, &scope, [&](bool running) {
        if (running) {
            look();
        }
    });
    look();
    const ExitCode code = waiting.run(timeout);
    if (code == ExitCode::timedOut) {
        fail(translated("No answer came within the timeout."), code);
    }
    return code;
}

ExitCode ControlProgram::questions(bool json)
{
    auto current = reading(client_.agentState());
    if (!current) {
        return fail(current.error());
    }
    if (json) {
        if (current->saved) {
            noteSaved(*current);
        }
        print(QString::fromStdString(nlohmann::json::parse(current->document).at("open_questions").dump(2)));
        return ExitCode::done;
    }
    if (current->saved) {
        print(translated("Quillmere is not running; as of %1:").arg(StatusText::age(current->snapshot.updatedAt, now())));
    }
    print(StatusText::questions(current->snapshot.openQuestions, now()));
    return ExitCode::done;
}

ExitCode ControlProgram::waitInterruptible(std::optional<std::chrono::milliseconds> timeout)
{
    QObject scope;
    Waiting waiting;
    const auto changed = [&](bool interruptible) {
        if (interruptible) {
            waiting.end(ExitCode::done);
        }
    };
    client_.watch();
    connect(&client_, &QuillmereClient::phaseChanged, &scope,
            [&](const QString&, bool interruptible) { changed(interruptible); });
    connect(&client_, &QuillmereClient::interruptibleChanged, &scope, changed);
    connect(&client_, &QuillmereClient::runningChanged, &scope, [&](bool running) {
        if (!running && !waiting.over()) {
            waiting.end(fail(translated("Quillmere quit while waiting."), ExitCode::notRunning));
        }
    });
    client_.interruptible(guarded(scope, [&](const QuillmereClient::Result<bool>& interruptible) {
        if (waiting.over()) {
            return;
        }
        if (!interruptible) {
            waiting.end(fail(interruptible.error()));
        } else if (*interruptible) {
            waiting.end(ExitCode::done);
        } else {
            waiting.settle();
        }
    }));
    const ExitCode code = waiting.run(timeout);
    if (code == ExitCode::timedOut) {
        fail(translated("The user could still not be interrupted at the timeout."), code);
    }
    return code;
}

ExitCode ControlProgram::command(ApplicationCommand command)
{
    const auto result = client_.run(command);
    return result ? ExitCode::done : fail(result.error());
}

} // namespace quillmere
