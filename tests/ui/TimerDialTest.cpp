// SPDX-License-Identifier: GPL-3.0-or-later
#include "Motion.h"
#include "TimerDial.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

// Collects the regions the dial repaints.
class PaintSpy final : public QObject {
public:
    explicit PaintSpy(QWidget& widget) { widget.installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

qint64 area(const QRegion& region)
{
    qint64 total = 0;
    for (const QRect& rect : region) {
        total += qint64(rect.width()) * rect.height();
    }
    return total;
}

// The ring's pixel at three o'clock, half way round: arc or track.
QColor threeOClock(TimerDial& dial)
{
    const QImage image = dial.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(int((dial.width() - 7) * ratio), int(dial.height() / 2 * ratio));
}

struct MotionOff {
    MotionOff() { look::setAnimationsEnabled(false); }
    ~MotionOff() { look::setAnimationsEnabled(true); }
};

TEST(TimerDial, ASecondsTickRepaintsTheDigitsAndTheArcThatMovedNotTheWholeDial)
{
    MotionOff still;
    TimerDial dial(QStringLiteral("Focus timer %1"));
    dial.setColour(Qt::blue);
    dial.setTime(QStringLiteral("17:48"));
    dial.setProgress(0.288);
    dial.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dial));
    QApplication::processEvents();

    PaintSpy spy(dial);
    // One second of a 25-minute session.
    dial.setTime(QStringLiteral("17:47"));
    dial.setProgress(0.288 + 1.0 / 1500);
    QApplication::processEvents();
    const qint64 whole = qint64(dial.width()) * dial.height();
    EXPECT_GT(area(spy.painted), 0);
    EXPECT_LT(area(spy.painted), whole / 3) << "a tick repainted most of the dial";
    EXPECT_EQ(dial.accessibleName(), "Focus timer 17:47");
    EXPECT_EQ(dial.time(), "17:47");

    // Nothing changed, nothing painted.
    spy.painted = QRegion();
    dial.setTime(QStringLiteral("17:47"));
    dial.setProgress(0.288 + 1.0 / 1500);
    QApplication::processEvents();
    EXPECT_TRUE(spy.painted.isEmpty());
}

TEST(TimerDial, TheFirstValueEasesInUnlessTheDesktopAsksForReducedMotion)
{
    for (const bool motion : {false, true}) {
        SCOPED_TRACE(motion ? "motion allowed" : "reduced motion");
        look::setAnimationsEnabled(motion);
        TimerDial dial(QStringLiteral("Break timer %1"));
        dial.setColour(Qt::blue);
        dial.setTime(QStringLiteral("02:00"));
        dial.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dial));
        dial.setProgress(0.6);
        QApplication::processEvents();
        EXPECT_EQ(threeOClock(dial) == QColor(Qt::blue), !motion) << "right after the first value";
        QTest::qWait(3 * look::transitionMilliseconds);
        EXPECT_EQ(threeOClock(dial), QColor(Qt::blue)) << "once the easing is over";
        // A later value is drawn at once even with motion allowed.
        dial.setProgress(0.1);
        QApplication::processEvents();
        EXPECT_NE(threeOClock(dial), QColor(Qt::blue));
    }
    look::setAnimationsEnabled(true);
}

} // namespace
} // namespace quillmere
