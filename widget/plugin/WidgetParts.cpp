// SPDX-License-Identifier: GPL-3.0-or-later
#include "WidgetParts.h"

#include "WidgetLayout_p.h"

#include "QuillmereWidgetView.h"

#include "LocalText.h"
#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

namespace quillmere::widgetparts {

QFont widgetFont(int pixelSize, QFont::Weight weight, double letterSpacing)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(std::max(1, pixelSize));
    font.setWeight(weight);
    if (letterSpacing != 0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    }
    return font;
}

QColor Ink::resolve(const QPalette& palette) const
{
    switch (tone) {
    case Tone::primary: return palette.color(QPalette::WindowText);
    case Tone::secondary: return look::secondary(palette);
    case Tone::tertiary: return look::tertiary(palette);
    case Tone::quaternary: return look::quaternary(palette);
    case Tone::phase: return QuillmereWidgetPalette::phaseColour(phase, palette);
    case Tone::orange: return look::legible(look::orange, palette);
    }
    return palette.color(QPalette::WindowText);
}

// --- TextBlock ---------------------------------------------------------------

TextBlock::TextBlock(const QString& text, const QFont& font, Ink ink, int maxLines, QWidget* parent)
    : QWidget(parent), text_(text), ink_(ink), maxLines_(std::max(1, maxLines))
{
    setFont(font);
    applySizePolicy();
}

void TextBlock::applySizePolicy()
{
    // A fixed height would be capped at the size hint, which is taken at a
    // width of the block's own choosing: wrapped text gets its height for
    // the width it is given instead.
    setSizePolicy(QSizePolicy::Preferred, maxLines_ > 1 ? QSizePolicy::Preferred : QSizePolicy::Fixed);
}

void TextBlock::setText(const QString& text)
{
    if (text != text_) {
        text_ = text;
        textChanged();
    }
}

void TextBlock::setMaxLines(int maxLines)
{
    maxLines = std::max(1, maxLines);
    if (maxLines != maxLines_) {
        maxLines_ = maxLines;
        applySizePolicy();
        textChanged();
    }
}

void TextBlock::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TextBlock::textChanged()
{
    cachedLines_.reset();
    relayout(this);
    update();
}

QStringList TextBlock::lines(int width) const
{
    width = std::max(width, 1);
    if (cachedLines_ && cachedLines_->first == width) {
        return cachedLines_->second;
    }
    const QStringList result = look::clampedLines(text_, font(), width, maxLines_);
    cachedLines_ = std::pair{width, result};
    return result;
}

int TextBlock::heightForWidth(int width) const
{
    return static_cast<int>(lines(width).size()) * fontMetrics().lineSpacing();
}

QSize TextBlock::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int width = std::min(metrics.horizontalAdvance(text_.simplified()) + 1, metrics.averageCharWidth() * 30);
    return {width, maxLines_ > 1 ? heightForWidth(width) : metrics.lineSpacing()};
}

QSize TextBlock::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int width = std::min(metrics.horizontalAdvance(text_.simplified()) + 1, metrics.averageCharWidth() * 3);
    return {width, metrics.lineSpacing()};
}

void TextBlock::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(colour());
    const int lineSpacing = fontMetrics().lineSpacing();
    int y = 0;
    for (const QString& line : lines(width())) {
        painter.drawText(QRect(0, y, width(), lineSpacing), static_cast<int>(alignment_ | Qt::AlignTop), line);
        y += lineSpacing;
    }
}

void TextBlock::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        cachedLines_.reset();
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

// --- SymbolView, SymbolLabel, Divider -------------------------------------

SymbolView::SymbolView(std::string_view name, int side, Ink ink, QWidget* parent)
    : QWidget(parent), name_(qtText(name)), ink_(ink)
{
    setFixedSize(side, side);
}

void SymbolView::paintEvent(QPaintEvent*)
{
    const QColor wanted = colour();
    if (icon_.isNull() || wanted != iconColour_) {
        icon_ = look::symbolIcon(name_.toStdString(), wanted);
        iconColour_ = wanted;
    }
    QPainter painter(this);
    icon_.paint(&painter, rect());
}

SymbolLabel::SymbolLabel(std::string_view symbol, const QString& text, const QFont& font, Ink ink, QWidget* parent)
    : QWidget(parent)
{
    auto* row = rowLayout(this, px(tight));
    symbol_ = new SymbolView(symbol, SymbolSize::small, ink, this);
    text_ = new TextBlock(text, font, ink, 1, this);
    row->addWidget(symbol_, 0, Qt::AlignVCenter);
    row->addWidget(text_, 1, Qt::AlignVCenter);
}

Divider::Divider(Qt::Orientation orientation, QWidget* parent) : QWidget(parent)
{
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
}

void Divider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), look::quaternary(palette()));
}

// --- CapsuleBar ---------------------------------------------------------------

CapsuleBar::CapsuleBar(double fraction, int height, WidgetPhase phase, QWidget* parent)
    : QWidget(parent), fraction_(std::clamp(fraction, 0.0, 1.0)), phase_(phase)
{
    setFixedHeight(height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Painted in full, so a change repaints this bar alone, not the
    // background behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CapsuleBar::setFraction(double fraction)
{
    const int before = filledWidth();
    fraction_ = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
    if (filledWidth() != before) {
        update();
    }
}

int CapsuleBar::filledWidth() const
{
    return static_cast<int>(std::lround(fraction_ * width()));
}

QColor CapsuleBar::fillColour() const
{
    return Ink{Tone::phase, phase_}.resolve(palette());
}

void CapsuleBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double radius = height() / 2.0;
    painter.setBrush(look::quaternary(palette()));
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
    if (const int filled = filledWidth(); filled > 0) {
        painter.setBrush(fillColour());
        painter.drawRoundedRect(QRectF(0, 0, filled, height()), std::min(radius, filled / 2.0), radius);
    }
}

// --- CountdownText ------------------------------------------------------------

CountdownText::CountdownText(const WidgetSnapshot& snapshot, int pixelSize, double minimumScale,
                             Instant displayTime, QWidget* parent)
    : QWidget(parent),
      countdown_(snapshot.countdown),
      phase_(snapshot.phase),
      caption_(translated(QuillmereDesign::captionSource(snapshot))),
      fullFont_(countdown_ ? look::timerFont(pixelSize) : widgetFont(TypeSize::title3, QFont::DemiBold)),
      minimumScale_(std::clamp(minimumScale, 0.1, 1.0))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setDisplayTime(displayTime);
}

void CountdownText::setDisplayTime(Instant displayTime)
{
    QString text;
    Ink ink{Tone::secondary, phase_};
    if (!countdown_) {
        text = caption_;
    } else if (countdown_->isPaused) {
        text = QString::fromStdString(QuillmereDesign::timeText(countdown_->frozenRemainingSeconds));
    } else if (countdown_->endsAt > displayTime) {
        const auto left = std::chrono::ceil<std::chrono::seconds>(countdown_->endsAt - displayTime);
        text = clockText(left.count(), ClockHours::shown);
        ink.tone = Tone::primary;
    } else {
        text = WidgetTexts::tr("Due", "a countdown that has reached zero");
        ink.tone = Tone::phase;
    }
    // Called every second: anything but a new text leaves the pixels alone.
    if (text == text_ && ink.tone == ink_.tone) {
        return;
    }
    text_ = text;
    ink_ = ink;
    fit();
    update();
}

void CountdownText::fit()
{
    const int available = std::max(width(), 1);
    const int fullSize = std::max(1, fullFont_.pixelSize());
    const int smallest = std::max(1, static_cast<int>(std::ceil(fullSize * minimumScale_)));
    fitted_ = fullFont_;
    for (int size = fullSize; size > smallest; --size) {
        if (QFontMetricsF(fitted_).horizontalAdvance(text_) <= available) {
            break;
        }
        fitted_.setPixelSize(size - 1);
    }
    // Only a caption can still be too wide at the smallest size; a time
    // always fits the narrowest column.
    drawnText_ = QFontMetrics(fitted_).elidedText(text_, Qt::ElideRight, available);
}

QSize CountdownText::sizeHint() const
{
    const QFontMetrics metrics(fullFont_);
    return {metrics.horizontalAdvance(text_) + 1, metrics.height()};
}

QSize CountdownText::minimumSizeHint() const
{
    // The text shrinks to the width it gets; asking for none keeps a new
    // text from moving the layout around it.
    return {0, QFontMetrics(fullFont_).height()};
}

void CountdownText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setFont(fitted_);
    painter.setPen(colour());
    const QFontMetrics metrics(fitted_);
    const int baseline = (height() - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(QPoint(0, baseline), drawnText_);
}

void CountdownText::resizeEvent(QResizeEvent*)
{
    fit();
}

// --- PhaseBadge ---------------------------------------------------------------

PhaseBadge::PhaseBadge(const WidgetSnapshot& snapshot, QWidget* parent) : QWidget(parent)
{
    const Ink ink{Tone::phase, snapshot.phase};
    auto* row = rowLayout(this, px(tight));
    row->addWidget(new SymbolView(symbolName(snapshot.phase), SymbolSize::small, ink, this), 0, Qt::AlignVCenter);
    title_ = new TextBlock(translated(titleSource(snapshot.phase)).toUpper(),
                           widgetFont(TypeSize::caption2, QFont::Bold, 0.6), ink, 1, this);
    row->addWidget(title_, 0, Qt::AlignVCenter);
    row->addStretch(1);
    if (snapshot.countdown && snapshot.countdown->isPaused) {
        paused_ = new SymbolView("pause.fill", SymbolSize::small, ink, this);
        paused_->setAccessibleName(WidgetTexts::tr("Paused"));
        row->addWidget(paused_, 0, Qt::AlignVCenter);
    }
}

QString PhaseBadge::title() const
{
    return title_->text();
}

// --- SessionProgressBar, BlockProgressBar ---------------------------------------

SessionProgressBar::SessionProgressBar(const WidgetSnapshot& snapshot, Instant displayTime, QWidget* parent)
    : QWidget(parent), snapshot_(snapshot)
{
    auto* column = columnLayout(this, px(tight));
    column->addWidget(new TextBlock(WidgetTexts::tr("Session progress").toUpper(), fieldLabelFont(), {Tone::tertiary}, 1, this));
    const std::optional<double> progress = snapshot_.sessionProgress(displayTime);
    bar_ = new CapsuleBar(progress.value_or(0), 4, snapshot_.phase, this);
    column->addWidget(bar_);
    if (!progress) {
        hide();
    }
}

void SessionProgressBar::setDisplayTime(Instant displayTime)
{
    // A paused countdown's progress stays where the snapshot froze it.
    bar_->setFraction(snapshot_.sessionProgress(displayTime).value_or(0));
}

BlockProgressBar::BlockProgressBar(const WidgetSnapshot& snapshot, QWidget* parent) : QWidget(parent)
{
    auto* column = columnLayout(this, px(tight));
    caption_ = new TextBlock(translated(QuillmereDesign::captionSource(snapshot)),
                             widgetFont(TypeSize::caption2), {Tone::secondary}, 1, this);
    column->addWidget(caption_);
    if (snapshot.sessionsPlanned >= 1) {
        bar_ = new CapsuleBar(snapshot.blockProgress(), 5, snapshot.phase, this);
        column->addWidget(bar_);
    }
}

// --- LabelledLine, RatingLine, OpenQuestionList ----------------------------------

LabelledLine::LabelledLine(const QString& label, const std::string& value, const QString& fallback, int lineLimit,
                           QWidget* parent)
    : QWidget(parent), label_(label)
{
    auto* column = columnLayout(this, 2);
    column->addWidget(new TextBlock(label.toUpper(), fieldLabelFont(), {Tone::tertiary}, 1, this));
    const bool empty = value.empty();
    value_ = new TextBlock(empty ? fallback : QString::fromStdString(value), widgetFont(TypeSize::caption),
                           {empty ? Tone::secondary : Tone::primary}, lineLimit, this);
    column->addWidget(value_);
}

RatingLine::RatingLine(const QString& label, std::int64_t value, std::string_view symbol, QWidget* parent)
    : QWidget(parent), value_(static_cast<int>(std::clamp<std::int64_t>(value, 0, maximum)))
{
    auto* column = columnLayout(this, 2);
    column->addWidget(new TextBlock(label.toUpper(), fieldLabelFont(), {Tone::tertiary}, 1, this));
    auto* symbols = new QWidget(this);
    auto* row = rowLayout(symbols, 2);
    for (int index = 1; index <= maximum; ++index) {
        auto* view = new SymbolView(symbol, SymbolSize::rating, {index <= value_ ? Tone::primary : Tone::quaternary},
                                    symbols);
        symbols_.push_back(view);
        row->addWidget(view);
    }
    row->addStretch(1);
    column->addWidget(symbols);
    setAccessibleName(WidgetTexts::tr("%1 %2 of %3", "a rating read aloud: its name, its value, the maximum")
                          .arg(label, QLocale().toString(value_), QLocale().toString(maximum)));
}

OpenQuestionList::OpenQuestionList(const WidgetSnapshot& snapshot, QWidget* parent)
    : QWidget(parent), hidden_(snapshot.hiddenOpenQuestionCount())
{
    auto* column = columnLayout(this, px(tight));
    header_ = new SymbolLabel("questionmark.bubble", openQuestionText(openQuestionTotal(snapshot)),
                              widgetFont(TypeSize::caption2, QFont::DemiBold), {Tone::orange}, this);
    column->addWidget(header_);
    for (const std::string& question : snapshot.openQuestions) {
        // A no-break space keeps the bullet on the line of the first word.
        auto* bullet = new TextBlock(QStringLiteral("•\u00A0") + QString::fromStdString(question),
                                     widgetFont(TypeSize::caption2), {Tone::secondary}, 2, this);
        bullets_.push_back(bullet);
        column->addWidget(bullet);
    }
    more_ = new TextBlock(QString(), widgetFont(TypeSize::caption2), {Tone::tertiary}, 1, this);
    column->addWidget(more_);
    shown_ = listedCount();
    setShownCount(shown_);
}

void OpenQuestionList::setShownCount(int count)
{
    shown_ = std::clamp(count, 0, listedCount());
    for (int index = 0; index < listedCount(); ++index) {
        bullets_[static_cast<std::size_t>(index)]->setVisible(index < shown_);
    }
    const std::int64_t more = hidden_ + (listedCount() - shown_);
    const int unlisted = static_cast<int>(std::min<std::int64_t>(more, std::numeric_limits<int>::max()));
    more_->setText(more >= 1 ? WidgetTexts::tr("and %Ln more", "open questions not listed", unlisted) : QString());
    more_->setVisible(more >= 1);
    relayout(this);
}

void OpenQuestionList::setBulletLineLimit(int lines)
{
    for (TextBlock* bullet : bullets_) {
        bullet->setMaxLines(lines);
    }
}

QString OpenQuestionList::moreText() const
{
    return more_->isVisibleTo(this) ? more_->text() : QString();
}

// --- FittingColumn --------------------------------------------------------------

FittingColumn::FittingColumn(int spacing, QWidget* parent) : QWidget(parent), column_(columnLayout(this, spacing)) {}

void FittingColumn::setReductions(std::function<void()> restore, std::vector<std::function<void()>> reductions)
{
    restore_ = std::move(restore);
    reductions_ = std::move(reductions);
    fit();
}

int FittingColumn::neededHeight(int width) const
{
    column_->invalidate();
    return column_->hasHeightForWidth() ? column_->totalHeightForWidth(width) : column_->totalSizeHint().height();
}

QSize FittingColumn::sizeHint() const
{
    return column_->totalSizeHint();
}

QSize FittingColumn::minimumSizeHint() const
{
    // Any height will do: the content gives up detail to fit it.
    return {column_->totalMinimumSize().width(), 0};
}

void FittingColumn::resizeEvent(QResizeEvent*)
{
    fit();
}

void FittingColumn::fit()
{
    if (restore_) {
        restore_();
    }
    applied_ = 0;
    // Before the first layout the height is a placeholder; there is nothing
    // to fit yet.
    if (!testAttribute(Qt::WA_Resized) && !isVisible()) {
        return;
    }
    while (static_cast<std::size_t>(applied_) < reductions_.size() && neededHeight(width()) > height()) {
        reductions_[static_cast<std::size_t>(applied_++)]();
    }
    column_->invalidate();
    column_->activate();
}

// --- WidgetMessageView ------------------------------------------------------------

WidgetMessageView::WidgetMessageView(std::string_view symbol, const QString& title, const QString& message,
                                     QWidget* parent)
    : QWidget(parent)
{
    auto* outer = columnLayout(this, 0);
    auto* content = new FittingColumn(px(snug), this);
    outer->addWidget(content);
    QVBoxLayout* column = content->column();
    // Top-leading like the snapshot views, so that a message reads from the
    // same corner as the phase badge it stands in for.
    column->addWidget(new SymbolView(symbol, SymbolSize::message, {Tone::secondary}, content), 0, Qt::AlignLeft);
    title_ = new TextBlock(title, widgetFont(TypeSize::headline, QFont::DemiBold), {Tone::primary}, 2, content);
    column->addWidget(title_);
    constexpr int messageLines = 4;
    message_ = new TextBlock(message, widgetFont(TypeSize::caption), {Tone::secondary}, messageLines, content);
    column->addWidget(message_);
    column->addStretch(1);

    std::vector<std::function<void()>> reductions;
    for (int lines = messageLines - 1; lines >= 1; --lines) {
        reductions.emplace_back([this, lines] { message_->setMaxLines(lines); });
    }
    reductions.emplace_back([this] { title_->setMaxLines(1); });
    content->setReductions(
        [this] {
            message_->setMaxLines(messageLines);
            title_->setMaxLines(2);
        },
        std::move(reductions));
    setAccessibleName(title + QStringLiteral(", ") + message);
}

} // namespace quillmere::widgetparts
