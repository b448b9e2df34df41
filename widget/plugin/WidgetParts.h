// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Instant.h"
#include "quillmere/WidgetSnapshot.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QVBoxLayout;

// The pieces the desktop widget's views are built from. Every piece draws
// itself from the snapshot it was made with; the only thing that changes
// after construction is the display time, which only the countdown and the
// session bar follow.
namespace quillmere::widgetparts {

// Text and symbol sizes in device-independent pixels. The widget's families
// have fixed pixel sizes, so its type is sized in pixels too, not in points
// that would grow with the screen's resolution setting.
namespace TypeSize {
inline constexpr int title3 = 20;
inline constexpr int headline = 15;
inline constexpr int caption = 12;
inline constexpr int caption2 = 11;
inline constexpr int fieldLabel = 9;
} // namespace TypeSize

namespace SymbolSize {
inline constexpr int small = 12;
inline constexpr int rating = 9;
inline constexpr int message = 28;
} // namespace SymbolSize

// The application's font at a pixel size.
QFont widgetFont(int pixelSize, QFont::Weight weight = QFont::Normal, double letterSpacing = 0);

// A colour named by its role; resolved against the palette when painting, so
// that a switch between light and dark needs no rebuild.
enum class Tone { primary, secondary, tertiary, quaternary, phase, orange };

struct Ink {
    Tone tone = Tone::primary;
    WidgetPhase phase = WidgetPhase::idle;

    QColor resolve(const QPalette& palette) const;
};

// Something that moves with the host's display time.
class DisplayTimeFollower {
public:
    virtual ~DisplayTimeFollower() = default;
    virtual void setDisplayTime(Instant displayTime) = 0;
};

// Plain text wrapped at word boundaries to at most a number of lines, the
// last line elided when the text needs more. A word-wrapping QLabel can do
// neither, so the lines are laid out and drawn here.
class TextBlock : public QWidget {
public:
    TextBlock(const QString& text, const QFont& font, Ink ink, int maxLines, QWidget* parent);

    QString text() const { return text_; }
    void setText(const QString& text);
    int maxLines() const { return maxLines_; }
    void setMaxLines(int maxLines);
    // Horizontal placement of each line; leading by default.
    void setAlignment(Qt::Alignment alignment);
    QColor colour() const { return ink_.resolve(palette()); }

    // The lines drawn when laid out `width` pixels wide.
    QStringList lines(int width) const;

    bool hasHeightForWidth() const override { return maxLines_ > 1; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applySizePolicy();
    void textChanged();

    QString text_;
    Ink ink_;
    int maxLines_;
    Qt::Alignment alignment_ = Qt::AlignLeading;
    // Layouts ask for the same width many times in a row.
    mutable std::optional<std::pair<int, QStringList>> cachedLines_;
};

// One symbol of the shared set, square, in one tone.
class SymbolView : public QWidget {
public:
    SymbolView(std::string_view name, int side, Ink ink, QWidget* parent);

    QString symbol() const { return name_; }
    QColor colour() const { return ink_.resolve(palette()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString name_;
    Ink ink_;
    QIcon icon_;
    QColor iconColour_;
};

// A symbol before a one-line text, both in one tone.
class SymbolLabel : public QWidget {
public:
    SymbolLabel(std::string_view symbol, const QString& text, const QFont& font, Ink ink, QWidget* parent);

    QString text() const { return text_->text(); }
    SymbolView* symbol() const { return symbol_; }

private:
    SymbolView* symbol_;
    TextBlock* text_;
};

// A thin rule between the columns or rows of a layout.
class Divider : public QWidget {
public:
    Divider(Qt::Orientation orientation, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A capsule track in the quaternary tone, filled from the leading edge in
// the phase colour. Opaque, and repainted only when the filled part moves by
// a whole pixel.
class CapsuleBar : public QWidget {
public:
    CapsuleBar(double fraction, int height, WidgetPhase phase, QWidget* parent);

    double fraction() const { return fraction_; }
    void setFraction(double fraction);
    // The filled part in pixels at the current width.
    int filledWidth() const;
    QColor fillColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double fraction_;
    WidgetPhase phase_;
};

// The big time of the widget: a live countdown, a paused time, "Due" once a
// running countdown has ended, or the snapshot's caption when there is no
// countdown. The text shrinks to a fraction of its size rather than run out
// of the width.
//
// The host moves the display time every second, so this is a small opaque
// widget of its own that repaints only when its text changes.
class CountdownText : public QWidget, public DisplayTimeFollower {
public:
    CountdownText(const WidgetSnapshot& snapshot, int pixelSize, double minimumScale, Instant displayTime,
                  QWidget* parent);

    void setDisplayTime(Instant displayTime) override;

    QString text() const { return text_; }
    QColor colour() const { return ink_.resolve(palette()); }
    // The font the text is drawn in at the current width.
    QFont drawnFont() const { return fitted_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    std::optional<WidgetCountdown> countdown_;
    WidgetPhase phase_;
    QString caption_;
    QFont fullFont_;
    double minimumScale_;
    QString text_;
    Ink ink_;
    QFont fitted_;
    QString drawnText_;
};

// The phase's symbol and upper-case title in the phase colour, and a pause
// symbol at the trailing edge while the countdown is paused.
class PhaseBadge : public QWidget {
public:
    PhaseBadge(const WidgetSnapshot& snapshot, QWidget* parent);

    QString title() const;
    // The pause symbol, or null when the countdown is not paused.
    SymbolView* pausedSymbol() const { return paused_; }

private:
    TextBlock* title_;
    SymbolView* paused_ = nullptr;
};

// How far the current session has run: a faint caption over a thin bar.
// Hidden, and so taking no space, when the snapshot has no countdown of a
// positive length.
class SessionProgressBar : public QWidget, public DisplayTimeFollower {
public:
    SessionProgressBar(const WidgetSnapshot& snapshot, Instant displayTime, QWidget* parent);

    void setDisplayTime(Instant displayTime) override;
    CapsuleBar* bar() const { return bar_; }

private:
    WidgetSnapshot snapshot_;
    CapsuleBar* bar_;
};

// The snapshot's caption ("Session 3 of 8") over the block's progress bar;
// the bar only when sessions are planned.
class BlockProgressBar : public QWidget {
public:
    BlockProgressBar(const WidgetSnapshot& snapshot, QWidget* parent);

    QString caption() const { return caption_->text(); }
    // Null without planned sessions.
    CapsuleBar* bar() const { return bar_; }

private:
    TextBlock* caption_;
    CapsuleBar* bar_ = nullptr;
};

// A small upper-case label over a value of a few lines; the fallback, dimmed,
// when the value is empty.
class LabelledLine : public QWidget {
public:
    LabelledLine(const QString& label, const std::string& value, const QString& fallback, int lineLimit,
                 QWidget* parent);

    QString label() const { return label_; }
    TextBlock* value() const { return value_; }
    void setLineLimit(int lines) { value_->setMaxLines(lines); }

private:
    QString label_;
    TextBlock* value_;
};

// A rating out of five as a row of symbols, the first `value` of them solid.
// One element for assistive technologies: "Energy 3 of 5".
class RatingLine : public QWidget {
public:
    static constexpr int maximum = 5;

    RatingLine(const QString& label, std::int64_t value, std::string_view symbol, QWidget* parent);

    int value() const { return value_; }
    const std::vector<SymbolView*>& symbols() const { return symbols_; }

private:
    int value_;
    std::vector<SymbolView*> symbols_;
};

// The open questions: a count, the listed questions as bullets and how many
// more there are. Fewer bullets can be shown when space is short; those left
// out join the "and N more" count.
class OpenQuestionList : public QWidget {
public:
    OpenQuestionList(const WidgetSnapshot& snapshot, QWidget* parent);

    QString header() const { return header_->text(); }
    int listedCount() const { return static_cast<int>(bullets_.size()); }
    int shownCount() const { return shown_; }
    void setShownCount(int count);
    void setBulletLineLimit(int lines);
    // "and N more", or empty when nothing is left out.
    QString moreText() const;

private:
    SymbolLabel* header_;
    std::vector<TextBlock*> bullets_;
    TextBlock* more_;
    std::int64_t hidden_;
    int shown_;
};

// A column that gives up detail (lines of text, listed questions) until its
// content fits the height it is given: the widget's sizes are fixed, and the
// same layout has to hold a short plan and a long one.
class FittingColumn : public QWidget {
public:
    FittingColumn(int spacing, QWidget* parent);

    QVBoxLayout* column() const { return column_; }
    // `restore` undoes every reduction; the reductions are then tried in
    // order, each on top of the ones before, until the content fits.
    void setReductions(std::function<void()> restore, std::vector<std::function<void()>> reductions);
    int appliedReductions() const { return applied_; }
    // The height the content needs at `width` as it is now.
    int neededHeight(int width) const;

    bool hasHeightForWidth() const override { return false; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QVBoxLayout* column_;
    std::function<void()> restore_;
    std::vector<std::function<void()>> reductions_;
    int applied_ = 0;
};

// A symbol, a title and a sentence, centred: what the widget shows when it
// has no snapshot.
class WidgetMessageView : public QWidget {
public:
    WidgetMessageView(std::string_view symbol, const QString& title, const QString& message, QWidget* parent);

    QString title() const { return title_->text(); }
    QString message() const { return message_->text(); }

private:
    TextBlock* title_;
    TextBlock* message_;
};

} // namespace quillmere::widgetparts
