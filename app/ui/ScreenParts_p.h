// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereDesign.h"

#include <QString>
#include <QWidget>

#include <optional>

class QFont;
class QKeySequence;
class QLabel;
class QPushButton;
class QVBoxLayout;

// Small pieces the main window's screens all build from, so that a label,
// a button or an empty tab looks and behaves the same on every screen.
namespace quillmere {

// A widget that goes away must not be deleted at once: the signal that made
// it go (a click or an edit inside it) may still be running.
void discard(QWidget* widget);

// Moves the keyboard to `widget` and scrolls it into view: focus given by
// the program, unlike Tab, leaves a scroll area where it is.
void focusAndReveal(QWidget* widget);

// A vertical layout on `widget` without margins, `spacing` design points apart.
QVBoxLayout* makeColumn(QWidget* widget, double spacing);

// A word-wrapped plain-text label (a stored text is never read as markup).
QLabel* makeLabel(const QString& text, QWidget* parent);
QLabel* makeLabel(const QString& text, const QFont& font, QWidget* parent);
QLabel* makeSecondaryText(const QString& text, QWidget* parent);

// A push button that does not become the default on focus: Return in a
// field must not press it.
QPushButton* makeButton(const QString& text, QWidget* parent);
// The one filled button that does the next thing.
QPushButton* makePrimaryButton(const QString& text, QWidget* parent);

// How tall the style makes a push button in `widget`'s font.
int buttonHeight(const QWidget& widget);

// A single-line control (a line, a number, a list to pick from) as tall as
// a push button in the same font, so that fields have room and line up with
// the buttons beside them.
void giveRoom(QWidget& control);

// A control's tooltip: its name and its shortcut, "Quit (Ctrl+Q)".
QString withShortcut(const QString& name, const QKeySequence& shortcut);

// The row under a list shown a page at a time: a secondary line saying how
// much is left, and the button that shows the next page.
struct MoreRow {
    QWidget* row = nullptr;
    QLabel* text = nullptr;
    QPushButton* button = nullptr;
};
MoreRow makeMoreRow(const QString& buttonText, QWidget* parent);

// A symbol drawn at paint time, so that it follows a palette change: in the
// text colour, or in the colour of an accent role.
class SymbolLabel final : public QWidget {
public:
    SymbolLabel(const char* symbol, int side, QWidget* parent,
                std::optional<QuillmereDesign::Accent> accent = std::nullopt);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const char* symbol_;
    std::optional<QuillmereDesign::Accent> accent_;
};

// An icon beside a second-level title, with a secondary line below: what a
// tab shows when it has nothing to show.
QWidget* makeEmptyState(const char* symbol, const QString& title, const QString& text, QWidget* parent);

} // namespace quillmere
