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

void setForeground(QWidget& widget, const QColor& colour, QPalette::ColorRole role = QPalette::WindowText);
// A label that never reads its text as markup, on one line.
QLabel* plainLabel(const QString& text, QWidget* parent);
// Type sizes of the design relative to its 13-point body text, applied to
// the desktop's own font so that they follow the user's font settings.
QFont scaledFont(QFont font, double factor);
// The smallest text of the panel, a step below the caption.
QFont smallCaptionFont();

} // namespace quillmere
