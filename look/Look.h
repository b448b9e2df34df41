// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereDesign.h"
#include "quillmere/WidgetSnapshot.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>

class QPainter;
class QRect;

#include <string_view>

class QWidget;


namespace quillmere::look {

// The named colours of the design. The accent is the palette's highlight.
inline const QColor indigo{0x58, 0x56, 0xD6};
inline const QColor teal{0x30, 0xB0, 0xC7};
inline const QColor orange{0xFF, 0x95, 0x00};

// Window text at 60 %, 35 % and 18 % opacity: readable on light and dark
// palettes alike because they follow the palette's own text colour.
QColor secondary(const QPalette& palette);
QColor tertiary(const QPalette& palette);
QColor quaternary(const QPalette& palette);
QColor accent(const QPalette& palette);
// A card's surface, a step apart from the window in light and dark alike,
// and the hairline that edges cards, buttons and dividers.
QColor surface(const QPalette& palette);
QColor hairline(const QPalette& palette);

// The widths of the content columns, centred in the window: prose, forms and
// the running screens stay at a comfortable reading width; lists and charts
// may use more.
inline constexpr int readingWidth = 620;
inline constexpr int wideWidth = 880;

// The ring a self-drawn widget shows around itself while it has the
// keyboard focus, inside `area`.
void drawFocusFrame(QPainter& painter, const QRect& area, const QPalette& palette);

// `colour` with its lightness moved just far enough from the palette's window
// colour to reach `minimumContrast` (3 suits large text, icons and bars; 4.5
// small text). The design's orange and teal are too light on a white window,
// indigo too dark on a dark one.
QColor legible(const QColor& colour, const QPalette& palette, double minimumContrast = 3.0);

// The colour that stands for a phase: the timer, the progress bar, the icon.
// Legible (as above) against the palette's window colour.
QColor phaseColour(WidgetPhase phase, const QPalette& palette);
QColor accentColour(QuillmereDesign::Accent accent, const QPalette& palette);

// An icon from the application's own symbol set ("moon.zzz", "target",
// "cup.and.saucer", ...), drawn in `colour` (the palette's window text when
// invalid). Renders with no icon theme installed. Unknown names give a null
// icon.
QIcon symbolIcon(std::string_view name, const QColor& colour = QColor());
// Every symbol name the application ships.
QStringList symbolNames();

// A length of the design (spacing, radius) in whole device-independent
// pixels.
int points(double value);

// Type scale, relative to the application font.
QFont titleFont();        // large bold heading of a screen
QFont secondTitleFont();  // second-level heading
QFont headlineFont();
QFont captionFont();
QFont calloutFont();
// Digits of one width for timers of the given point size (design points are
// device-independent pixels): the desktop's face when its digits are
// tabular, else a fixed-pitch one; light when large.
QFont timerFont(int pointSize);

// `text` laid out `width` pixels wide in at most `maxLines` lines, broken at
// word boundaries (inside a word only when it is longer than a line) and at
// the text's own line breaks. When more than whitespace is left over, the
// last line ends in an ellipsis and `elided` is set. Never empty.
QStringList clampedLines(const QString& text, const QFont& font, int width, int maxLines, bool* elided = nullptr);

// Applies a secondary (dimmed) text colour to a label's palette, and again
// whenever the application's palette changes.
void makeSecondary(QWidget& widget);


} // namespace quillmere::look
