// SPDX-License-Identifier: GPL-3.0-or-later
#include "WidgetWindow.h"

#include "HostCommandLine.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSettings>

namespace quillmere::widgethost {

namespace {

constexpr int frameWidth = 1;

} // namespace

WidgetWindow::WidgetWindow(WidgetInstance& instance, Clock clock, UrlOpener openUrl, SettingsFactory settings,
                           QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint),
      instance_(instance),
      clock_(clock ? std::move(clock) : Clock([] { return std::chrono::system_clock::now(); })),
      openUrl_(openUrl ? std::move(openUrl) : UrlOpener([](const QUrl& url) { QDesktopServices::openUrl(url); })),
      settings_(settings ? std::move(settings) : SettingsFactory([] {
          return std::make_unique<QSettings>(QStringLiteral("Quillmere"), QStringLiteral("WidgetHost"));
      }))
{
    const Configuration configuration = instance_.kind().configuration();
    setWindowTitle(tr("%1 widget").arg(configuration.displayName));
    setBackgroundRole(configuration.containerBackground);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(standardSize(instance_.family()) + QSize(2 * frameWidth, 2 * frameWidth));
    setContentsMargins(frameWidth, frameWidth, frameWidth, frameWidth);

    tick_.setTimerType(Qt::PreciseTimer);
    tick_.setSingleShot(true);
    connect(&tick_, &QTimer::timeout, this, [this] {
        tick();
        armTick();
    });
    connect(&instance_, &WidgetInstance::entryChanged, this, &WidgetWindow::showEntry);
    showEntry(instance_.currentEntry());
}

WidgetWindow::~WidgetWindow() = default;

QString WidgetWindow::positionKey() const
{
    return QStringLiteral("%1/%2/position").arg(instance_.kind().configuration().kind, familyText(instance_.family()));
}

void WidgetWindow::place(int stackOffset)
{
    const auto settings = settings_();
    if (settings->contains(positionKey())) {
        const QPoint remembered = settings->value(positionKey()).toPoint();
        for (const QScreen* screen : QGuiApplication::screens()) {
            // Kept only if a good part of it is on a screen that still exists.
            if (screen->availableGeometry().intersects(QRect(remembered, size()).adjusted(40, 40, -40, -40))) {
                move(remembered);
                return;
            }
        }
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const int top = area.top() + gap + stackOffset;
    move(area.x() + area.width() - gap - width(), std::max(area.top(), std::min(top, area.bottom() - height())));
}

void WidgetWindow::showEntry(const EntryPointer& entry)
{
    if (!entry) {
        return;
    }
    std::unique_ptr<ContentView> view = instance_.kind().makeView(*entry, instance_.family(), this);
    if (!view) {
        return;
    }
    view->setGeometry(contentsRect());
    view->setDisplayTime(clock_());
    view->show();
    // The window reads as what the widget shows.
    setAccessibleName(view->accessibleName());
    view_ = std::move(view);
}

void WidgetWindow::tick()
{
    if (view_) {
        view_->setDisplayTime(clock_());
    }
}

void WidgetWindow::armTick()
{
    // Just after the next whole second, so that a countdown turns over with
    // the clock rather than up to a second behind it.
    const TimePoint now = clock_();
    const auto sinceSecond = now.time_since_epoch() % std::chrono::seconds(1);
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::seconds(1) - sinceSecond) +
                      std::chrono::milliseconds(5);
    tick_.start(wait);
}

void WidgetWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    tick();
    armTick();
}

void WidgetWindow::hideEvent(QHideEvent* event)
{
    tick_.stop();
    QWidget::hideEvent(event);
}

void WidgetWindow::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Without a compositor there are no shadows or rounded corners; a hairline
    // keeps the widget apart from a wallpaper of the same colour.
    QPainter painter(this);
    QColor line = palette().color(QPalette::WindowText);
    line.setAlphaF(0.18f);
    painter.setPen(line);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void WidgetWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    dragging_ = false;
    pressPoint_ = event->globalPosition().toPoint();
    pressWindowPosition_ = pos();
}

void WidgetWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_) {
        return;
    }
    const QPoint offset = event->globalPosition().toPoint() - pressPoint_;
    if (!dragging_ && offset.manhattanLength() >= QApplication::startDragDistance()) {
        dragging_ = true;
    }
    if (dragging_) {
        move(pressWindowPosition_ + offset);
    }
}

void WidgetWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    pressed_ = false;
    if (dragging_) {
        dragging_ = false;
        savePosition();
    } else {
        openLink();
    }
}

void WidgetWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        openLink();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void WidgetWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(tr("Open"), this, &WidgetWindow::openLink);
    menu.addSeparator();
    menu.addAction(tr("Close widget"), this, &QWidget::close);
    menu.exec(event->globalPos());
}

void WidgetWindow::openLink()
{
    if (!view_) {
        return;
    }
    const QUrl url = view_->tapUrl();
    if (url.isValid() && !url.isEmpty()) {
        openUrl_(url);
    }
}

void WidgetWindow::savePosition()
{
    const auto settings = settings_();
    settings->setValue(positionKey(), pos());
    settings->sync();
    // Written with the umask's permissions; Quillmere's files are the user's
    // alone, and so is its settings folder.
    QFile::setPermissions(settings->fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::setPermissions(QFileInfo(settings->fileName()).absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace quillmere::widgethost
