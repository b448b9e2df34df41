// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormComponents.h"

#include "ScreenParts_p.h"
#include "forms/FormParts_p.h"

#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace quillmere {

namespace {

constexpr int minimumProseLines = 3;
constexpr int maximumProseLines = 8;


QString ratingText(std::int64_t rating)
{
    return RatingPicker::tr("%L1 of 5").arg(rating);
}

// One choice of a SegmentedControl: its text on the control's track, filled
// with the accent while chosen, tinted under the pointer, ringed while the
// keyboard is on it. As tall as a push button, so that a row of segments
// lines up with the fields and buttons around it.
class Segment final : public QAbstractButton {
public:
    Segment(const QString& text, QWidget* parent) : QAbstractButton(parent)
    {
        setText(text);
        setCheckable(true);
        setAttribute(Qt::WA_Hover);
        setFocusPolicy(Qt::StrongFocus);
    }

    QSize sizeHint() const override
    {
        const int padding = look::points(QuillmereDesign::Spacing::loose);
        const int width = std::max(fontMetrics().horizontalAdvance(text()), fontMetrics().horizontalAdvance(QStringLiteral("M")));
        return {width + 2 * padding, buttonHeight(*this)};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPalette& colours = palette();
        const QRectF face = QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5);
        const double radius = QuillmereDesign::Radius::control - 2;
        QColor text = colours.color(QPalette::ButtonText);
        if (isChecked()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(look::accent(colours));
            painter.drawRoundedRect(face, radius, radius);
            text = colours.color(QPalette::HighlightedText);
        } else if (underMouse() && isEnabled()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(look::quaternary(colours));
            painter.drawRoundedRect(face, radius, radius);
        }
        if (!isEnabled()) {
            text = colours.color(QPalette::Disabled, QPalette::ButtonText);
        }
        painter.setPen(text);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, this->text());
        if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
            look::drawFocusFrame(painter, rect(), colours);
        }
    }
};

} // namespace

QString shownText(std::string_view text, std::size_t maxCharacters)
{
    return QString::fromStdString(truncatedText(text, maxCharacters));
}

QString shownText(const QString& text, std::size_t maxCharacters)
{
    if (static_cast<std::size_t>(text.size()) <= maxCharacters) {
        return text;
    }
    // Only the head is converted: one more character than is shown takes at
    // most this many UTF-16 units.
    const QByteArray head = QStringView(text).left(static_cast<qsizetype>(2 * maxCharacters + 1)).toUtf8();
    return shownText(std::string_view(head.constData(), static_cast<std::size_t>(head.size())), maxCharacters);
}

LengthLimitNote::LengthLimitNote(QWidget* field, qsizetype limit, QWidget* parent)
    : QLabel(parent), field_(field), limit_(limit)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setFont(look::captionFont());
    look::makeSecondary(*this);
    hide();
}

void LengthLimitNote::follow(qsizetype length, qsizetype allowance)
{
    const bool full = length >= limit_;
    const QString note = !full                ? QString()
                         : allowance > limit_ ? tr("This text is longer than %L1 characters. It is kept whole, "
                                                   "and it cannot grow past the length it had.")
                                                    .arg(limit_)
                                              : tr("%L1 characters at most").arg(limit_);
    if (text() != note) {
        setText(note);
        describeField();
    }
    if (isHidden() == full) {
        setVisible(full);
    }
}

void LengthLimitNote::setFieldDescription(const QString& description)
{
    if (fieldDescription_ != description) {
        fieldDescription_ = description;
        describeField();
    }
}

void LengthLimitNote::describeField()
{
    const QString description = text().isEmpty()             ? fieldDescription_
                                : fieldDescription_.isEmpty() ? text()
                                                              : fieldDescription_ + QLatin1Char('\n') + text();
    if (field_->accessibleDescription() != description) {
        field_->setAccessibleDescription(description);
    }
}

BoundedLineEdit::BoundedLineEdit(qsizetype limit, QWidget* parent)
    : QLineEdit(parent), note_(new LengthLimitNote(this, limit, parent))
{
    setMaxLength(static_cast<int>(limit));
    connect(this, &QLineEdit::textChanged, note_,
            [this](const QString& text) { note_->follow(text.size(), maxLength()); });
}

void BoundedLineEdit::showStoredText(const QString& text)
{
    if (this->text() == text) {
        return;
    }
    // Raised first: QLineEdit cuts a text longer than its maximum.
    setMaxLength(static_cast<int>(std::max(note_->limit(), text.size())));
    setText(text);
}

ValueRow::ValueRow(const QString& label, const QString& value, QWidget* parent)
    : QWidget(parent), label_(new QLabel(label, this)), value_(new QLabel(shownText(value), this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::regular));

    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    look::makeSecondary(*label_);

    // User text is shown as typed: plain text, so "<b>" stays visible.
    value_->setTextFormat(Qt::PlainText);
    value_->setWordWrap(true);
    value_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    value_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    value_->setAccessibleName(label);
    value_->setAccessibleDescription(value_->text());

    layout->addWidget(label_, 2, Qt::AlignTop);
    layout->addWidget(value_, 3, Qt::AlignTop);
}

void ValueRow::setLabel(const QString& label)
{
    if (label_->text() != label) {
        label_->setText(label);
        value_->setAccessibleName(label);
    }
}

void ValueRow::setValue(const QString& value)
{
    if (QString shown = shownText(value); value_->text() != shown) {
        value_->setText(shown);
        value_->setAccessibleDescription(shown);
    }
}

ValueRow* makeValueRow(const QString& label, const QString& value, QWidget* parent)
{
    return new ValueRow(label, value, parent);
}

SegmentedControl::SegmentedControl(const QStringList& choices, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int index = 0; index < choices.size(); ++index) {
        auto* segment = new Segment(choices[index], this);
        segment->installEventFilter(this);
        // Checkable buttons toggle on a click; the chosen segment must stay
        // chosen, so the check state is set here rather than by the button.
        connect(segment, &QAbstractButton::clicked, this, [this, index] { choose(index); });
        layout->addWidget(segment);
        segments_.push_back(segment);
    }
    layout->addStretch(1);
    updateTabStop();
}

void SegmentedControl::paintEvent(QPaintEvent*)
{
    if (segments_.empty()) {
        return;
    }
    // The track under the segments (not the room the layout leaves after
    // them), in the button colour with a hairline edge as a secondary
    // button has, and a divider between two segments neither of which is
    // chosen.
    QRect track = segments_.front()->geometry().united(segments_.back()->geometry());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(look::hairline(palette()), 1));
    painter.setBrush(palette().color(QPalette::Button));
    const double radius = QuillmereDesign::Radius::control;
    painter.drawRoundedRect(QRectF(track).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    const int inset = look::points(QuillmereDesign::Spacing::snug);
    for (std::size_t index = 1; index < segments_.size(); ++index) {
        const QAbstractButton* left = segments_[index - 1];
        const QAbstractButton* right = segments_[index];
        if (!left->isChecked() && !right->isChecked()) {
            const double x = right->geometry().left() + 0.5;
            painter.drawLine(QPointF(x, track.top() + inset), QPointF(x, track.bottom() + 1 - inset));
        }
    }
}

void SegmentedControl::setCurrentIndex(int index)
{
    if (index < 0 || index >= count()) {
        index = -1;
    }
    for (int position = 0; position < count(); ++position) {
        segment(position)->setChecked(position == index);
    }
    if (current_ != index) {
        current_ = index;
        updateTabStop();
        update(); // the dividers beside the chosen segment
    }
}

void SegmentedControl::choose(int index)
{
    const int previous = current_;
    setCurrentIndex(index);
    if (current_ != previous && current_ >= 0) {
        emit chosen(current_);
    }
}

void SegmentedControl::updateTabStop()
{
    const int stop = std::max(current_, 0);
    for (int position = 0; position < count(); ++position) {
        segment(position)->setFocusPolicy(position == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

bool SegmentedControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto found = std::find(segments_.begin(), segments_.end(), watched);
    if (found == segments_.end() || count() == 0) {
        return false;
    }
    const int focused = static_cast<int>(found - segments_.begin());
    const bool reversed = layoutDirection() == Qt::RightToLeft;
    int target = -1;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Left: target = reversed ? focused + 1 : focused - 1; break;
    case Qt::Key_Right: target = reversed ? focused - 1 : focused + 1; break;
    case Qt::Key_Up: target = focused - 1; break;
    case Qt::Key_Down: target = focused + 1; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = count() - 1; break;
    default: return false;
    }
    target = std::clamp(target, 0, count() - 1);
    choose(target);
    segment(target)->setFocus(Qt::TabFocusReason);
    return true;
}

ProseField::ProseField(const QString& label, FormPresentation presentation, QWidget* parent)
    : QWidget(parent), label_(label), presentation_(presentation)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::tight));
    switch (presentation) {
    case FormPresentation::editable: {
        auto* caption = makeCaption(label, this);
        editor_ = new QPlainTextEdit(this);
        editor_->setPlaceholderText(label);
        editor_->setAccessibleName(label);
        editor_->setTabChangesFocus(true);
        editor_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        editor_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        caption->setBuddy(editor_);
        note_ = new LengthLimitNote(editor_, TextLimits::fieldCharacters, this);
        layout->addWidget(caption);
        layout->addWidget(editor_);
        layout->addWidget(note_);
        setFocusProxy(editor_);
        editor_->installEventFilter(this);
        connect(editor_->document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
            changeStart_ = position;
            changeEnd_ = position + added;
        });
        connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
            if (!applyingText_ && editor_->document()->characterCount() - 1 > allowance_) {
                // Trimming changes the text again, and that change is reported.
                refuseExcess();
                return;
            }
            updateEditorHeight();
            note_->follow(editor_->document()->characterCount() - 1, allowance_);
            if (applyingText_) {
                return;
            }
            QString current = editor_->toPlainText();
            if (current != readOnlyText_) {
                readOnlyText_ = std::move(current);
                emit textEdited(readOnlyText_);
            }
        });
        updateEditorHeight();
        break;
    }
    case FormPresentation::readOnly:
        value_ = new ValueRow(label, tr("Blank"), this);
        layout->addWidget(value_);
        break;
    }
}

QString ProseField::text() const
{
    return readOnlyText_;
}

void ProseField::setText(const QString& text)
{
    if (text == readOnlyText_) {
        return;
    }
    readOnlyText_ = text;
    if (value_) {
        value_->setValue(text.isEmpty() ? tr("Blank") : text);
    }
    if (editor_ && editor_->toPlainText() != text) {
        const int position = editor_->textCursor().position();
        allowance_ = std::max<qsizetype>(TextLimits::fieldCharacters, text.size());
        applyingText_ = true;
        editor_->setPlainText(text);
        applyingText_ = false;
        QTextCursor cursor = editor_->textCursor();
        cursor.setPosition(std::min(position, editor_->document()->characterCount() - 1));
        editor_->setTextCursor(cursor);
    }
}

void ProseField::refuseExcess()
{
    // The end of what was just typed, pasted or dropped goes, so that the
    // text after the insertion stays and the cursor ends where the kept part
    // of the insertion does. The trim joins the insertion's undo step.
    const QTextDocument* document = editor_->document();
    const int length = document->characterCount() - 1;
    const int excess = length - static_cast<int>(allowance_);
    // The document may report a change one character longer than the text
    // it has (a first insertion also replaces the empty block's format).
    const int end = std::min(changeEnd_, length);
    int start = std::max(std::min(changeStart_, end), end - excess);
    if (start > 0 && document->characterAt(start - 1).isHighSurrogate()) {
        --start; // never half a character
    }
    QTextCursor cursor(editor_->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.joinPreviousEditBlock();
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

bool ProseField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::FontChange:
        case QEvent::StyleChange: updateEditorHeight(); break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int ProseField::visualLineCount(int limit) const
{
    // Laid out here rather than read from the editor's document layout, which
    // lays out lazily and only the part on screen.
    const QTextDocument* document = editor_->document();
    const qreal width = editor_->viewport()->width() - 2 * document->documentMargin();
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(editor_->wordWrapMode());
    int lines = 0;
    for (QTextBlock block = document->begin(); block.isValid() && lines <= limit; block = block.next()) {
        if (width <= 0) {
            ++lines;
            continue;
        }
        QTextLayout layout(block.text(), editor_->font());
        layout.setTextOption(option);
        layout.beginLayout();
        int blockLines = 0;
        for (QTextLine line = layout.createLine(); line.isValid() && lines + blockLines <= limit;
             line = layout.createLine()) {
            line.setLineWidth(width);
            ++blockLines;
        }
        layout.endLayout();
        lines += std::max(blockLines, 1);
    }
    return lines;
}

void ProseField::updateEditorHeight()
{
    const int lines = std::clamp(visualLineCount(maximumProseLines), minimumProseLines, maximumProseLines);
    // The editor places lines at whole pixels and keeps one pixel spare
    // below the last one before it decides it has to scroll.
    const int lineHeight = static_cast<int>(std::ceil(QFontMetricsF(editor_->font()).lineSpacing()));
    const int margins = static_cast<int>(std::ceil(2 * editor_->document()->documentMargin())) + 1;
    const int height = lines * lineHeight + margins + 2 * editor_->frameWidth();
    if (editor_->minimumHeight() != height || editor_->maximumHeight() != height) {
        editor_->setFixedHeight(height);
    }
}

RatingPicker::RatingPicker(const QString& label, FormPresentation presentation, QWidget* parent)
    : QWidget(parent), label_(label), presentation_(presentation)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setAccessibleName(label);
    switch (presentation) {
    case FormPresentation::editable: {
        auto* title = new QLabel(label, this);
        title->setTextFormat(Qt::PlainText);
        title->setWordWrap(true);
        segments_ = new SegmentedControl({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                          QStringLiteral("4"), QStringLiteral("5")},
                                         this);
        for (int index = 0; index < segments_->count(); ++index) {
            segments_->segment(index)->setAccessibleName(tr("%1 %2", "a rating's name and value").arg(label, ratingText(index + 1)));
        }
        title->setBuddy(segments_->segment(0));
        layout->setSpacing(look::points(QuillmereDesign::Spacing::loose));
        layout->addWidget(title, 1);
        layout->addWidget(segments_, 0, Qt::AlignRight | Qt::AlignVCenter);
        connect(segments_, &SegmentedControl::chosen, this, [this](int index) {
            rating_ = index + 1;
            refresh();
            emit ratingEdited(rating_);
        });
        break;
    }
    case FormPresentation::readOnly:
        value_ = new ValueRow(label, QString(), this);
        layout->addWidget(value_);
        break;
    }
    refresh();
}

void RatingPicker::setRating(std::int64_t rating)
{
    if (rating_ != rating) {
        rating_ = rating;
        refresh();
    }
}

void RatingPicker::refresh()
{
    const QString value = ratingText(rating_);
    setAccessibleDescription(tr("%1 %2", "a rating's name and value").arg(label_, value));
    if (segments_) {
        segments_->setCurrentIndex(rating_ >= 1 && rating_ <= 5 ? static_cast<int>(rating_) - 1 : -1);
    }
    if (value_) {
        value_->setValue(value);
        value_->valueLabel()->setAccessibleDescription(accessibleDescription());
    }
}

namespace {

class ReturnAdvance final : public QObject {
public:
    ReturnAdvance(QWidget* field, std::function<void()> advance)
        : QObject(field), advance_(std::move(advance)),
          multiLine_(qobject_cast<QPlainTextEdit*>(field) || qobject_cast<QTextEdit*>(field))
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) {
            return false;
        }
        if (key->modifiers() & Qt::ControlModifier) {
            return false;
        }
        if (multiLine_ && (key->modifiers() & Qt::ShiftModifier)) {
            return false;
        }
        if (advance_) {
            advance_();
        }
        return true;
    }

private:
    std::function<void()> advance_;
    bool multiLine_;
};

} // namespace

void installReturnAdvance(QWidget* field, std::function<void()> advance)
{
    field->installEventFilter(new ReturnAdvance(field, std::move(advance)));
}

FormGroup::FormGroup(const QString& header, QWidget* parent, GroupFrame frame) : QWidget(parent)
{
    bool insideCard = false;
    for (const QWidget* up = parent; up != nullptr && !insideCard; up = up->parentWidget()) {
        insideCard = qobject_cast<const QuillmereCard*>(up) != nullptr || qobject_cast<const FormGroup*>(up) != nullptr;
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    if (!header.isEmpty()) {
        header_ = new QLabel(header, this);
        header_->setTextFormat(Qt::PlainText);
        header_->setWordWrap(true);
        header_->setFont(insideCard ? look::headlineFont() : look::secondTitleFont());
        layout->addWidget(header_);
    }
    QWidget* body = insideCard || frame == GroupFrame::none
                        ? new QWidget(this)
                        : new QuillmereCard(QuillmereDesign::Radius::card, std::nullopt, this);
    rows_ = new QVBoxLayout(body);
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(look::points(QuillmereDesign::Spacing::loose));
    layout->addWidget(body);
}

void FormGroup::addRow(QWidget* row)
{
    rows_->addWidget(row);
}

namespace {

void collectFocusable(const QLayout* layout, std::vector<QWidget*>& widgets)
{
    for (int index = 0; index < layout->count(); ++index) {
        QLayoutItem* item = layout->itemAt(index);
        if (QWidget* widget = item->widget()) {
            if (widget->focusPolicy() != Qt::NoFocus) {
                widgets.push_back(widget);
            }
            if (widget->layout()) {
                collectFocusable(widget->layout(), widgets);
            }
        } else if (const QLayout* nested = item->layout()) {
            collectFocusable(nested, widgets);
        }
    }
}

} // namespace

void orderFocusByLayout(QWidget* root)
{
    std::vector<QWidget*> widgets;
    if (root->layout()) {
        collectFocusable(root->layout(), widgets);
    }
    for (std::size_t index = 1; index < widgets.size(); ++index) {
        QWidget::setTabOrder(widgets[index - 1], widgets[index]);
    }
}

} // namespace quillmere
