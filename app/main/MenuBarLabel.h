// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/TimerSnapshot.h"
#include "quillmere/WidgetSnapshot.h"

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include <optional>
#include <string_view>

namespace quillmere {

class AppModel;

// What the status-area item says about the model: the phase symbol, the
// running timer, a marker while agent questions are open, and the name a
// screen reader announces. Most tray hosts show no text beside an item, so
// the picture itself carries the remaining minutes while a timer runs.
struct MenuBarLabel {
    WidgetPhase phase = WidgetPhase::idle;
    // The running focus or break timer, and its text ("mm:ss", "+mm:ss").
    std::optional<TimerSnapshot> timer;
    std::optional<QString> timerText;
    bool hasOpenQuestions = false;
    // "Quillmere, " followed by the model's menu title.
    QString accessibleName;

    // Everything that decides how the picture looks. Equal pictures draw the
    // same pixels, so the item is redrawn only when this changes: once a
    // minute while a timer runs, not every second.
    struct Picture {
        std::string_view symbol;
        // The remaining minutes drawn into the picture; empty without a timer.
        QString minutes;
        bool paused = false;
        bool questionMarker = false;
        QColor background;

        friend bool operator==(const Picture&, const Picture&) = default;
    };

    static MenuBarLabel of(const AppModel& model);

    // The minutes a timer shows in the picture: rounded up while counting
    // down, so a fresh 25-minute focus shows "25" and the last seconds "1";
    // past zero "+" and the minutes over, also rounded up.
    static QString minutesText(std::int64_t displaySeconds, bool overtime);

    // The phase's colour behind a white symbol, brought to a middle
    // lightness: the shape stands out from a light panel and a dark one
    // alike (a contrast near 3.8 to either) and the white on it reads (4.3).
    // Focus takes the hue of the palette's highlight, the user's accent.
    static QColor background(WidgetPhase phase);

    Picture picture() const;

    // The picture drawn at `side` device-independent pixels square: a
    // rounded square in the background colour with the phase's symbol in
    // bold white strokes. While a timer runs, small pictures show only the
    // minutes, as large as they fit, and a paused timer only the pause
    // symbol; from 32 pixels on, the symbol sits at the upper left and the
    // minutes at the lower right. Open questions put a badge at the upper
    // right.
    static QPixmap render(const Picture& picture, int side, qreal devicePixelRatio = 1.0);
    // The picture at the sizes tray hosts ask for.
    static QIcon icon(const Picture& picture);
};

} // namespace quillmere
