// SPDX-License-Identifier: GPL-3.0-or-later
// quillmere: the desktop application. Answers --help and --version without a
// display; otherwise makes sure it is the one Quillmere of the session and
// the one writer of its state folder, then runs until the user quits.

#include "ApplicationBus.h"
#include "ApplicationLook.h"
#include "CommandLine.h"
#include "QuillmereApp.h"
#include "QuillmereAppDelegate.h"
#include "QuitOnSignal.h"
#include "quillmere/StateFolderLock.h"
#include "SystemLog.h"
#include "Translations.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QStyle>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

static void initialiseApplicationResources()
{
    Q_INIT_RESOURCE(application);
}

// Said in a window too: started from a launcher, nobody reads standard error.
static void showCannotStart(const QString& reason)
{
    QMessageBox box(QMessageBox::Critical, QCoreApplication::translate("quillmere", "Quillmere cannot start"),
                    QCoreApplication::translate("quillmere",
                                                "Quillmere cannot lock its state folder, so it could not be sure to "
                                                "be the only Quillmere that writes your data there."),
                    QMessageBox::Close);
    box.setInformativeText(reason + QStringLiteral("\n\n") +
                           QCoreApplication::translate("quillmere",
                                                       "Remove or rename what is in the way, or make the folder "
                                                       "yours again, and start Quillmere once more. Nothing was "
                                                       "changed."));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

int main(int argc, char** argv)
{
    using namespace quillmere;

    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const std::optional<CommandLine::Request> earlyRequest = CommandLine::earlyRequest(arguments);
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (earlyRequest || noDisplay) {
        // Answered on the console: an application without a display is
        // enough for the translations.
        QCoreApplication console(argc, argv);
        const Translations translations{QLocale()};
        if (earlyRequest) {
            std::cout << (*earlyRequest == CommandLine::Request::help ? CommandLine::helpText()
                                                                      : CommandLine::versionText());
            return 0;
        }
        // Without any display Qt would abort before the arguments are read.
        // The arguments are then checked here (Qt's own options would fail
        // anyway), and the missing display is named.
        QStringList raw;
        for (const std::string_view argument : arguments) {
            raw << QString::fromLocal8Bit(argument.data(), static_cast<qsizetype>(argument.size()));
        }
        QString error;
        if (!CommandLine::parse(raw, &error)) {
            std::cerr << "quillmere: " << error.toStdString() << '\n' << CommandLine::tryHelpText() << '\n';
            return 2;
        }
        std::cerr << "quillmere: "
                  << QCoreApplication::translate(
                         "quillmere", "no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set).")
                         .toStdString()
                  << '\n';
        return 1;
    }

    QApplication application(argc, argv);
    const Translations translations{QLocale()};
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setOrganizationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    // The id that ties the window, the notifications and the status-area item
    // to the installed desktop file and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillmere.Quillmere"));
    // Closing the window leaves the application running in the status area.
    QApplication::setQuitOnLastWindowClosed(false);
    initialiseApplicationResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/application/org.quillmere.Quillmere.svg")));
    // The style a platform theme or the user gave, before Quillmere puts
    // its layer over it.
    QuillmereApp::Options options;
    options.style = {QApplication::style()->name(), styleForcedByUser(arguments, std::getenv("QT_STYLE_OVERRIDE"))};

    QString error;
    const std::optional<CommandLine> line = CommandLine::parse(QApplication::arguments().mid(1), &error);
    if (!line) {
        std::cerr << "quillmere: " << error.toStdString() << '\n' << CommandLine::tryHelpText() << '\n';
        return 2;
    }
    if (line->request != CommandLine::Request::run) {
        std::cout << (line->request == CommandLine::Request::help ? CommandLine::helpText()
                                                                  : CommandLine::versionText());
        return 0;
    }

    const LaunchMode mode = LaunchMode::current();
    QuillmereAppDelegate delegate;
    QObject::connect(&delegate, &QuillmereAppDelegate::quitRequested, &application, &QCoreApplication::quit);

    // One Quillmere per session: a second launch hands its links to the first
    // one (or just brings it forward) and leaves. A hosted run is private to
    // its host and never takes the name.
    bool handOverFailed = false;
    if (!mode.hosted) {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (applicationBus::claim(bus, delegate) == applicationBus::Claim::ownedByAnother) {
            if (applicationBus::handOver(bus, line->urls, applicationBus::platformDataFromEnvironment())) {
                return 0;
            }
            handOverFailed = true;
        }
    }

    // One writer per state folder, with or without a bus.
    // quillmerectl holds the lock for the moment of one save when it adds a
    // question while Quillmere is closed; a start in that moment waits.
    auto lock = StateFolderLock::acquire(mode.stateFolder, std::chrono::seconds(1));
    if (!lock) {
        if (lock.error().heldElsewhere) {
            const QString folder = QString::fromStdString(mode.stateFolder.string());
            const QString text =
                handOverFailed
                    ? QCoreApplication::translate("quillmere", "another Quillmere is already running on %1 and does "
                                                               "not answer; not starting a second one.")
                    : QCoreApplication::translate("quillmere", "another Quillmere is already running on %1 and "
                                                               "cannot be reached over D-Bus; not starting a second "
                                                               "one.");
            std::cerr << "quillmere: " << text.arg(folder).toStdString() << '\n';
            return 1;
        }
        // Without the lock a second Quillmere could not tell that this one
        // writes here, and two writers overwrite each other's work: rather
        // than that, Quillmere does not start.
        const std::string reason = lock.error().description;
        std::cerr << "quillmere: "
                  << QCoreApplication::translate("quillmere", "cannot lock the state folder: %1; not starting.")
                         .arg(QString::fromStdString(reason))
                         .toStdString()
                  << '\n';
        writeSystemLog("Quillmere: not starting, the state folder cannot be locked: " + reason);
        showCannotStart(QString::fromStdString(reason));
        return 1;
    }
    if (handOverFailed) {
        writeSystemLog("Quillmere: the Quillmere that owns the session's bus name does not answer; running "
                       "without the name");
    }

    QuitOnSignal quitOnSignal;
    QuillmereApp quillmere(delegate, mode, std::move(options));
    // Links from the command line arrive before start-up has finished, like
    // links the desktop delivers at launch: they wait for the model.
    delegate.open(line->urls);
    return application.exec();
}
