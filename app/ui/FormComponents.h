#pragma once

#include "quillmere/QuillmereState.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QVBoxLayout;

namespace quillmere {

// How a form shows its record: input controls, or label-value rows for
// blocks kept in the history until the user asks to edit them.
enum class FormPresentation { editable, readOnly };

// Makes Tab follow the visual (layout) order under `root`. Widgets created
// later (rows added, forms built when first opened) otherwise join the end of
// the window's focus chain. Hidden widgets are chained too, so their place is
// right when they appear.
void orderFocusByLayout(QWidget* root);

// A label-value row as the read-only presentations show it; the value is
// plain text (never markup), wraps, and can be selected and copied with the
// mouse or, after Tab reaches it, the keyboard.
class ValueRow : public QWidget {
    Q_OBJECT

public:
    ValueRow(const QString& label, const QString& value, QWidget* parent = nullptr);

    QString label() const { return label_->text(); }
    QString value() const { return value_->text(); }
    void setLabel(const QString& label);
    void setValue(const QString& value);
    QLabel* valueLabel() const { return value_; }

private:
    QLabel* label_;
    QLabel* value_;
};

// Mutually exclusive choices as adjacent toggle buttons. Like a radio group
// it is one Tab stop (the chosen segment) and the arrow keys move the choice.
class SegmentedControl : public QWidget {
    Q_OBJECT

public:
    explicit SegmentedControl(const QStringList& choices, QWidget* parent = nullptr);

    int count() const { return static_cast<int>(segments_.size()); }
    // -1 while nothing is chosen (a stored value outside the choices).
    int currentIndex() const { return current_; }
    // Shows `index` without reporting a choice.
    void setCurrentIndex(int index);
    QAbstractButton* segment(int index) const { return segments_.at(static_cast<std::size_t>(index)); }

signals:
    // The user chose a different segment.
    void chosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(int index);
    void updateTabStop();

    std::vector<QAbstractButton*> segments_;
    int current_ = -1;
};

// Multi-line text that grows from 3 to 8 lines, then scrolls. Read-only it is
// a label-value row whose value can be selected and copied, "Blank" when
// empty. The label is the placeholder and the accessible name; editable, it is
// also shown above the field so that a filled field keeps its meaning.
// Tab leaves the field; Shift+Return starts a new line.
class ProseField : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textEdited)

public:
    ProseField(const QString& label, FormPresentation presentation, QWidget* parent = nullptr);

    QString text() const;
    // Shows `text` without reporting an edit; keeps the cursor when unchanged.
    void setText(const QString& text);
    QString label() const { return label_; }
    FormPresentation presentation() const { return presentation_; }
    // The editor, for focus handling; null when read-only.
    QPlainTextEdit* editor() const { return editor_; }

signals:
    // The user changed the text.
    void textEdited(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int visualLineCount(int limit) const;
    void updateEditorHeight();

    QString label_;
    FormPresentation presentation_;
    QPlainTextEdit* editor_ = nullptr;
    ValueRow* value_ = nullptr;
    QString readOnlyText_;
    bool applyingText_ = false;
};

// A 1 to 5 rating as five segments, or "N of 5" read-only. The accessible
// value is "<label> N of 5" in both presentations.
class RatingPicker : public QWidget {
    Q_OBJECT

public:
    RatingPicker(const QString& label, FormPresentation presentation, QWidget* parent = nullptr);

    std::int64_t rating() const { return rating_; }
    // Shows `rating` without reporting an edit. A stored value outside 1..5
    // selects no segment and reads as stored.
    void setRating(std::int64_t rating);
    QString label() const { return label_; }
    SegmentedControl* segments() const { return segments_; }

signals:
    void ratingEdited(std::int64_t rating);

private:
    void refresh();

    QString label_;
    FormPresentation presentation_;
    std::int64_t rating_ = 3;
    SegmentedControl* segments_ = nullptr;
    ValueRow* value_ = nullptr;
};

// Return (without Ctrl) in a field runs `advance` and is consumed; Ctrl+Return
// passes on so that it reaches the screen's primary button. In a multi-line
// editor Shift+Return passes on too, so that a line break can be typed.
// Installed as an event filter on the field; owned by it.
void installReturnAdvance(QWidget* field, std::function<void()> advance);

// A padded rounded translucent card, optionally tinted.
class QuillmereCard : public QFrame {
    Q_OBJECT

public:
    explicit QuillmereCard(double radius, std::optional<QColor> tint = std::nullopt, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double radius_;
    std::optional<QColor> tint_;
};

// One group of a form: a header (none when empty) above a card whose rows
// are stacked 8 points apart.
class FormGroup : public QWidget {
    Q_OBJECT

public:
    explicit FormGroup(const QString& header, QWidget* parent = nullptr);

    void addRow(QWidget* row);
    QVBoxLayout* rows() const { return rows_; }
    QLabel* header() const { return header_; }

private:
    QLabel* header_ = nullptr;
    QVBoxLayout* rows_ = nullptr;
};

// A label-value row as the read-only presentations show it.
ValueRow* makeValueRow(const QString& label, const QString& value, QWidget* parent = nullptr);

} // namespace quillmere
