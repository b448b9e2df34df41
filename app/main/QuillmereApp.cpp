// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereApp.h"

#include "AwayWatcher.h"
#include "DesktopAppearance.h"
#include "DoNotDisturb.h"
#include "FreedesktopNotificationCenter.h"
#include "MainWindowController.h"
#include "Notifications.h"
#include "PauseOnAway.h"
#include "QuillmereAppDelegate.h"
#include "QuillmereInterface.h"
#include "StatusAreaItem.h"
#include "SystemLog.h"
#include "WidgetPublisher.h"

#include "quillmere/WidgetSnapshotStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QSettings>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <utility>

namespace quillmere {
namespace {

// How long the first window waits for the desktop's colour scheme, so that
// it does not open light and turn dark a moment later. A portal that is slow
// to start recolours the window when it answers.
constexpr std::chrono::milliseconds firstWindowPatience{500};

} // namespace

LaunchMode LaunchMode::fromEnvironment(const Environment& environment, qint64 processId,
                                       const std::filesystem::path& temporaryFolder)
{
    if (environment(hostedVariable) != nullptr) {
        return {true, temporaryFolder / ("Quillmere-XCTest-" + std::to_string(processId))};
    }
    return {false, StateStore::defaultDirectory(environment)};
}

LaunchMode LaunchMode::current()
{
    return fromEnvironment([](const char* name) { return std::getenv(name); }, QCoreApplication::applicationPid(),
                           QDir::tempPath().toStdString());
}

std::unique_ptr<QSettings> LaunchMode::openSettings() const
{
    return std::make_unique<QSettings>(preferenceLocations().settingsFile, QSettings::IniFormat);
}

Preferences::Locations LaunchMode::preferenceLocations() const
{
    return hosted ? Preferences::inFolder(stateFolder) : Preferences::userLocations();
}

// What saves killed mid-write left behind. This process is the folders' one
// writer (it holds the state folder's lock), so no other save is under way.
void QuillmereApp::removeStaleTemporaries(const StateStore& store) const
{
    const auto logFailure = [](const FileError& error) {
        writeSystemLog("Quillmere: could not remove a stale temporary file: " + error.description());
    };
    if (auto removed = store.removeStaleTemporaries(); !removed) {
        logFailure(std::get<FileError>(removed.error().cause));
    }
    if (mode_.hosted) {
        return;
    }
    if (const auto shared = WidgetSnapshotStore::shared(QuillmereAppGroup::identifier)) {
        if (auto removed = quillmere::removeStaleTemporaries(shared->snapshotURL()); !removed) {
            logFailure(removed.error());
        }
    }
}

QuillmereApp::QuillmereApp(QuillmereAppDelegate& delegate, LaunchMode mode, Options options) : mode_(std::move(mode))
{
    AppModel::Collaborators collaborators;
    collaborators.clock = options.clock;
    collaborators.writeInBackground = true;
    collaborators.preferences = std::make_unique<Preferences>(mode_.preferenceLocations());
    Preferences& preferences = *collaborators.preferences;
    if (mode_.hosted) {
        collaborators.notifications = std::make_unique<TestHostNotificationScheduler>();
        collaborators.widgets = std::make_unique<TestHostWidgetPublisher>();
    } else {
        // The desktop's notification service; clicking one of our
        // notifications brings the main window back.
        const AppModel::Clock clock = [exact = options.clock ? options.clock : StateStore::systemClock()] {
            return wholeSeconds(exact());
        };
        auto center = std::make_unique<FreedesktopNotificationCenter>(QDBusConnection::sessionBus(), clock,
                                                                      [this] { model_->showMainWindow(); });
        center->setPlaysSound(preferences.soundAtEnd());
        connect(&preferences, &Preferences::soundAtEndChanged, center.get(),
                &FreedesktopNotificationCenter::setPlaysSound);
        collaborators.notifications = std::make_unique<Notifications>(std::move(center), clock);
        // The widget's shared folder, written on a thread of its own.
        widgetWriter_ = std::make_shared<BackgroundWriter>(
            BackgroundWriter::Mode::ownThread,
            [this](BackgroundWriter::Then then) { QMetaObject::invokeMethod(this, std::move(then)); },
            "widget-writer");
        collaborators.widgets = std::make_unique<WidgetPublisher>(
            WidgetSnapshotStore::shared(QuillmereAppGroup::identifier), nullptr, nullptr, widgetWriter_);
    }
    collaborators.mainWindowFactory = [this](AppModel& model) {
        return std::make_unique<MainWindowController>(model, [this] { return mode_.openSettings(); });
    };
    const Instant now = options.clock ? options.clock() : std::chrono::system_clock::now();
    StateStore store(mode_.stateFolder, options.clock ? options.clock : StateStore::systemClock());
    removeStaleTemporaries(store);
    model_ = std::make_unique<AppModel>(std::move(store), std::move(collaborators), now, true);
    // A preferences file that could not be read whole is said once, at the
    // start, beside whatever else is due.
    if (const QStringList problems = model_->preferences().problems(); !problems.isEmpty()) {
        model_->setDueMessage(problems.join(QLatin1Char(' ')));
    }
    // A hosted run leaves the desktop alone: it hears no screen lock and
    // silences no notification service, for it is given no bus.
    const auto desktopBus = [this](const QDBusConnection& bus) {
        return mode_.hosted ? QDBusConnection(QStringLiteral("quillmere-hosted-no-bus")) : bus;
    };
    // The look follows the desktop from the start, before any window.
    appearance_ = std::make_unique<DesktopAppearance>(desktopBus(QDBusConnection::sessionBus()));
    look_ = std::make_unique<ApplicationLook>(*appearance_, options.style);

    // Without a system bus (in a container) only the screen lock is seen.
    awayWatcher_ = std::make_unique<AwayWatcher>(desktopBus(QDBusConnection::systemBus()),
                                                 desktopBus(QDBusConnection::sessionBus()));
    pauseOnAway_ = std::make_unique<PauseOnAway>(*model_, *awayWatcher_);
    const auto followWhenAway = [this](WhenAway whenAway) {
        pauseOnAway_->setEnabled(whenAway == WhenAway::pauseFocus);
    };
    followWhenAway(preferences.whenAway());
    connect(&preferences, &Preferences::whenAwayChanged, pauseOnAway_.get(), followWhenAway);

    // Other applications' notifications are held back while a focus runs,
    // when the user asks for it.
    doNotDisturb_ = std::make_unique<DoNotDisturb>(desktopBus(QDBusConnection::sessionBus()), mode_.stateFolder,
                                                   options.clock);
    doNotDisturb_->setEnabled(preferences.doNotDisturb());
    connect(&preferences, &Preferences::doNotDisturbChanged, doNotDisturb_.get(), &DoNotDisturb::setEnabled);
    // The preferences window greys the choice out, with the reason, while
    // no service that can be silenced runs.
    const auto tellSupport = [this, told = &preferences] {
        told->setDoNotDisturbSupport({doNotDisturb_->available(), doNotDisturb_->availability()});
    };
    tellSupport();
    connect(doNotDisturb_.get(), &DoNotDisturb::availabilityChanged, &preferences, tellSupport);
    doNotDisturb_->follow(model_->state());
    connect(model_.get(), &AppModel::stateChanged, doNotDisturb_.get(),
            [this] { doNotDisturb_->follow(model_->state()); });
    connect(doNotDisturb_.get(), &DoNotDisturb::trouble, model_.get(), &AppModel::setDueMessage);

    // Agents and scripts reach the user's own instance only, never a hosted
    // run: the interface rides on the object that serves the bus name.
    if (!mode_.hosted) {
        interface_ = new QuillmereInterface(delegate, *model_, QDBusConnection::sessionBus());
    }
    // Typing held back for a pause in it, and every write under way, is on
    // disk before the process ends.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        model_->finishWriting();
        if (widgetWriter_) {
            // The widget host is woken for the last snapshot too.
            widgetWriter_->waitUntilIdle();
            QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        }
        doNotDisturb_->finish();
    });

    // After start-up has returned, so that links delivered during start-up
    // wait in the delegate and are handled here, in order; and once the
    // desktop's look is known, or has been waited for long enough.
    const auto start = [this, &delegate, statusAreaItem = options.statusAreaItem] {
        if (std::exchange(started_, true)) {
            return;
        }
        delegate.attach(*model_);
        model_->showMainWindow();
        // The status-area item is drawn and docked once the window is on
        // its way: the first thing a launch shows is the window.
        if (statusAreaItem) {
            statusAreaItem_ = std::make_unique<StatusAreaItem>(*model_);
        }
    };
    if (appearance_->isSettled()) {
        QMetaObject::invokeMethod(this, start, Qt::QueuedConnection);
    } else {
        connect(appearance_.get(), &DesktopAppearance::settled, this, start);
        QTimer::singleShot(firstWindowPatience, this, start);
    }
}

QuillmereApp::~QuillmereApp()
{
    // The delegate outlives the model the interface drives.
    delete interface_;
    statusAreaItem_.reset();
}

} // namespace quillmere
