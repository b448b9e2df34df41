// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowController.h"

#include "AppModel.h"
#include "MainWindow.h"
#include "preferences/PreferencesWindow.h"

#include "quillmere/AtomicFile.h"

#include <QApplication>
#include <QCursor>
#include <QHideEvent>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QVBoxLayout>

namespace quillmere {

MainWindowFrame::MainWindowFrame(AppModel& model, std::function<void()> saveFrame)
    : saveFrame_(std::move(saveFrame))
{
    setWindowTitle(QStringLiteral("Quillmere"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content_ = new MainWindow(model, this);
    layout->addWidget(content_);

    // Without a status-area item the window is the only way in, so the
    // usual window keys work here: Ctrl+W closes (hides) it, Ctrl+Q quits.
    connect(new QShortcut(QKeySequence::Close, this), &QShortcut::activated, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Quit, this), &QShortcut::activated, qApp, &QCoreApplication::quit);
}

void MainWindowFrame::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // A minimised window is hidden too, but its frame is not the one to keep.
    if (!event->spontaneous() && saveFrame_) {
        saveFrame_();
    }
}

MainWindowController::MainWindowController(AppModel& model, SettingsFactory settings)
    : model_(model), settings_(std::move(settings))
{
    if (!settings_) {
        settings_ = [] { return std::make_unique<QSettings>(); };
    }
    window_ = std::make_unique<MainWindowFrame>(model, [this] { saveFrame(); });
    placeWindow();
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, window_.get(), [this] { saveFrame(); });
}

MainWindowController::~MainWindowController() = default;

void MainWindowController::presentPreferences()
{
    if (!preferences_) {
        preferences_ = new PreferencesWindow(model_.preferences(), window_.get());
    }
    preferences_->show();
    preferences_->raise();
    preferences_->activateWindow();
}

void MainWindowController::placeWindow()
{
    const QByteArray frame = settings_()->value(QLatin1String(frameKey)).toByteArray();
    if (!frame.isEmpty() && window_->restoreGeometry(frame)) {
        return;
    }
    // First time: the design's size, centred on the screen the pointer is on.
    window_->resize(defaultSize);
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen != nullptr) {
        QRect frameRect(QPoint(), defaultSize);
        frameRect.moveCenter(screen->availableGeometry().center());
        window_->move(frameRect.topLeft());
    }
}

void MainWindowController::saveFrame() const
{
    auto settings = settings_();
    settings->setValue(QLatin1String(frameKey), window_->saveGeometry());
    settings->sync();
    // Written with the umask's permissions; Quillmere's files are the user's alone.
    (void)makePrivate(settings->fileName().toStdString());
}

void MainWindowController::presentWindow()
{
    if (window_->isMinimized()) {
        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace quillmere
