// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereState.h"
#include "quillmere/TextLimits.h"

#include "QuillmereCard.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include <functional>
#include <optional>
#include <string_view>
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
// plain text (never markup), cut by shownText, wraps, and can be selected and
// copied with the mouse or, after Tab reaches it, the keyboard.
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

// A stored text as a screen shows it where it only shows it (labels, rows,
// cards): cut to `maxCharacters` characters, the last of them "…". The state
// keeps the whole text; the cut spares every label from laying out (and,
// whenever something near it changes, measuring again) a text of megabytes
// from a hand-edited or older file.
QString shownText(std::string_view text, std::size_t maxCharacters = TextLimits::fieldCharacters);
QString shownText(const QString& text, std::size_t maxCharacters = TextLimits::fieldCharacters);

// The note under a bounded field, "10,000 characters at most", shown while
// the field is full, so that a refused keystroke or a cut paste is explained
// where the user looks. A field holding a longer stored text says instead
// that the text is kept whole. While shown, the note is part of the field's
// accessible description, after the field's own (`setFieldDescription`).
class LengthLimitNote : public QLabel {
    Q_OBJECT

public:
    LengthLimitNote(QWidget* field, qsizetype limit, QWidget* parent = nullptr);

    qsizetype limit() const { return limit_; }
    // How long the field's text is now, and how long it may become.
    void follow(qsizetype length, qsizetype allowance);
    void setFieldDescription(const QString& description);

private:
    void describeField();

    QWidget* field_;
    qsizetype limit_;
    QString fieldDescription_;
};

// A single-line field that takes at most `limit` characters, and the note
// that says so; the note is a sibling for the caller to place below the
// field. A stored text longer than the limit is shown whole and never cut by
// the field: until another text is shown, the field may hold as much as that
// text had, so that editing it cannot silently lose its end.
class BoundedLineEdit : public QLineEdit {
    Q_OBJECT

public:
    BoundedLineEdit(qsizetype limit, QWidget* parent);

    LengthLimitNote* note() const { return note_; }
    // Shows a text from the state without reporting an edit; leaves the
    // cursor alone when the text is unchanged (QLineEdit::setText moves it).
    void showStoredText(const QString& text);

private:
    LengthLimitNote* note_;
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
    void paintEvent(QPaintEvent* event) override;

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
// Tab leaves the field; Shift+Return starts a new line. Editable, it takes
// TextLimits::fieldCharacters characters (a longer stored text as for
// BoundedLineEdit): what is typed or pasted beyond that is refused from the
// end of the insertion, and the note below the field says why.
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
    // Null when read-only.
    LengthLimitNote* note() const { return note_; }

signals:
    // The user changed the text.
    void textEdited(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int visualLineCount(int limit) const;
    void updateEditorHeight();
    void refuseExcess();

    QString label_;
    FormPresentation presentation_;
    QPlainTextEdit* editor_ = nullptr;
    LengthLimitNote* note_ = nullptr;
    ValueRow* value_ = nullptr;
    QString readOnlyText_;
    bool applyingText_ = false;
    // How long the text may become: the limit, or a longer stored text's length.
    qsizetype allowance_ = TextLimits::fieldCharacters;
    // Where the editor's last change put its text, for refuseExcess.
    int changeStart_ = 0;
    int changeEnd_ = 0;
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

// Whether a group's fields stand on a card or on the window itself (a
// small dialog whose every part is a group).
enum class GroupFrame { card, none };

// One group of a form: a section heading (none when empty) above a card
// that holds its fields. A group made inside a card (a history entry, a
// session opened in a group of sessions) is not boxed again: its heading
// steps down to a headline over its fields, so that cards never nest.
class FormGroup : public QWidget {
    Q_OBJECT

public:
    explicit FormGroup(const QString& header, QWidget* parent = nullptr, GroupFrame frame = GroupFrame::card);

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
