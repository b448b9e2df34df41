// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Look.h"

#include <QEvent>
#include <QFont>
#include <QPainter>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <string_view>

class QLabel;

// What the status panel's parts draw with.
namespace quillmere {

// Plain text wrapped to at most `maxLines` lines, the last one elided. A
// QLabel cannot stop after a number of lines without clipping the next one
// in half, so the lines are laid out and drawn here.
class ClampedText : public QWidget {
public:
    ClampedText(const QString& text, int maxLines, QWidget* parent)
        : QWidget(parent), text_(text), maxLines_(maxLines)
    {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
        // Screen readers get the whole text, not the elided one.
        setAccessibleName(text);
    }

    // The lines drawn at `width`; `elided` tells whether text was left out.
    QStringList lines(int width, bool* elided = nullptr) const
    {
        return look::clampedLines(text_, font(), width, maxLines_, elided);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        return static_cast<int>(lines(width).size()) * fontMetrics().lineSpacing();
    }
    QSize sizeHint() const override
    {
        const int width = std::min(fontMetrics().horizontalAdvance(text_), fontMetrics().averageCharWidth() * 40);
        return {width, heightForWidth(width)};
    }
    QSize minimumSizeHint() const override { return {fontMetrics().averageCharWidth() * 4, fontMetrics().lineSpacing()}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const int lineSpacing = fontMetrics().lineSpacing();
        int y = 0;
        for (const QString& line : lines(width())) {
            painter.drawText(QRect(0, y, width(), lineSpacing), Qt::AlignLeading | Qt::AlignTop, line);
            y += lineSpacing;
        }
    }
    void resizeEvent(QResizeEvent*) override
    {
        bool elided = false;
        lines(width(), &elided);
        setToolTip(elided ? text_ : QString());
    }
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::FontChange) {
            updateGeometry();
        }
        QWidget::changeEvent(event);
    }

private:
    QString text_;
    int maxLines_;
};

// The phase's symbol on a disc of its colour, ringed by the running timer's
// progress: the head of the status panel. Its size is fixed, so a new second
// lays nothing out, and it repaints only when the arc would move by a
// visible amount, a few times a minute.
class PhaseRing final : public QWidget {
public:
    explicit PhaseRing(QWidget* parent);

    void setPhase(std::string_view symbol, const QColor& colour);
    // The share of the running timer that has passed, 0 to 1; none without
    // a timer, and then no ring is drawn.
    void setProgress(std::optional<double> fraction);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double ringThickness() const;

    std::string_view symbol_;
    QColor colour_;
    std::optional<double> fraction_;
};

// A divider one pixel high in the palette's hairline colour.
class Hairline final : public QWidget {
public:
    explicit Hairline(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

void setForeground(QWidget& widget, const QColor& colour, QPalette::ColorRole role = QPalette::WindowText);
// A label that never reads its text as markup, on one line.
QLabel* plainLabel(const QString& text, QWidget* parent);
// Type sizes of the design relative to its 13-point body text, applied to
// the desktop's own font so that they follow the user's font settings.
QFont scaledFont(QFont font, double factor);
// The smallest text of the panel, a step below the caption.
QFont smallCaptionFont();

} // namespace quillmere
