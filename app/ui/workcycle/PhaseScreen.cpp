// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhaseScreen.h"

#include "Look.h"
#include "ScreenParts_p.h"
#include "ActionRowLayout.h"
#include "CentredColumn.h"
#include "QuillmereCard.h"
#include "TimerDial.h"
#include "workcycle/SessionDots.h"
#include "forms/FormComponents.h"

#include "quillmere/WidgetSnapshot.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quillmere {

namespace {

constexpr int cycleSpacing = 20;
constexpr int formSpacing = 16;

// The editing screens' footer: the window's colour a step apart, a hairline
// above, so the actions read as belonging to the whole form.
class Footer final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), look::surface(palette()));
        painter.setPen(QPen(look::hairline(palette()), 1));
        painter.drawLine(rect().topLeft(), rect().topRight());
    }
};

} // namespace

PhaseScreen::PhaseScreen(AppModel& model, Spacing spacing, QWidget* parent)
    : QWidget(parent), model_(model), spacing_(spacing)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // Every screen can outgrow a small window; only the content scrolls.
    area_ = new QScrollArea(this);
    area_->setWidgetResizable(true);
    area_->setFrameShape(QFrame::NoFrame);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* page = new QWidget(area_);
    auto* padding = new QVBoxLayout(page);
    const int inset = look::points(QuillmereDesign::Spacing::section);
    padding->setContentsMargins(inset, inset, inset, inset);
    auto* centred = new CentredColumn(look::readingWidth, spacing == Spacing::cycle ? Qt::AlignVCenter : Qt::AlignTop, page);
    padding->addWidget(centred);
    area_->setWidget(page);
    outer->addWidget(area_, 1);

    column_ = centred->body();
    switch (spacing) {
    case Spacing::cycle: column_->setSpacing(cycleSpacing); break;
    case Spacing::form: column_->setSpacing(formSpacing); break;
    }
}

Qt::Alignment PhaseScreen::centredText() const
{
    return spacing_ == Spacing::cycle ? Qt::AlignHCenter : Qt::AlignLeft;
}

QLabel* PhaseScreen::addTitle(const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setFont(look::titleFont());
    label->setAccessibleName(text);
    label->setWordWrap(true);
    label->setAlignment(centredText());
    column_->addWidget(label);
    return label;
}

QLabel* PhaseScreen::addHint(const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    label->setAlignment(centredText());
    look::makeSecondary(*label);
    column_->addWidget(label);
    return label;
}

void PhaseScreen::addButtons(std::initializer_list<QPushButton*> buttons)
{
    QWidget* holder = nullptr;
    ActionRowLayout* row = nullptr;
    switch (spacing_) {
    case Spacing::cycle:
        holder = new QWidget(this);
        row = new ActionRowLayout(Qt::AlignHCenter, holder);
        row->setContentsMargins(0, look::points(QuillmereDesign::Spacing::snug), 0, 0);
        column_->addWidget(holder);
        break;
    case Spacing::form: {
        footer_ = new Footer(this);
        auto* across = new QHBoxLayout(footer_);
        const int inset = look::points(QuillmereDesign::Spacing::section);
        const int edge = look::points(QuillmereDesign::Spacing::regular);
        across->setContentsMargins(inset, edge, inset, edge);
        // The footer's buttons line up with the column above them.
        holder = new QWidget(footer_);
        holder->setMaximumWidth(look::readingWidth);
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        holder->setSizePolicy(policy);
        row = new ActionRowLayout(Qt::AlignLeft, holder);
        across->addWidget(holder, 1);
        static_cast<QVBoxLayout*>(layout())->addWidget(footer_);
        break;
    }
    }
    for (QPushButton* button : buttons) {
        button->setParent(holder);
        row->addWidget(button);
    }
}

void PhaseScreen::refreshOnStateChange()
{
    refresh();
    connect(&model_, &AppModel::currentBlockChanged, this, &PhaseScreen::refresh);
}

TimedPhaseScreen::TimedPhaseScreen(AppModel& model, const QString& title, const QString& timerName, QWidget* parent)
    : PhaseScreen(model, Spacing::cycle, parent)
{
    addTitle(title);
    timer_ = new TimerDial(timerName, this);
    column()->addWidget(timer_, 0, Qt::AlignHCenter);
    auto* progress = new QWidget(this);
    auto* progressColumn = new QVBoxLayout(progress);
    progressColumn->setContentsMargins(0, 0, 0, 0);
    progressColumn->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    dots_ = new SessionDots(progress);
    sessionCaption_ = new QLabel(progress);
    sessionCaption_->setFont(look::captionFont());
    sessionCaption_->setAlignment(Qt::AlignHCenter);
    look::makeSecondary(*sessionCaption_);
    progressColumn->addWidget(dots_, 0, Qt::AlignHCenter);
    progressColumn->addWidget(sessionCaption_);
    column()->addWidget(progress);
    connect(&model_, &AppModel::displayTickChanged, this, &TimedPhaseScreen::refreshTimer);
}

void TimedPhaseScreen::addRowsPlace()
{
    rows_ = new QuillmereCard(QuillmereDesign::Radius::card, std::nullopt, this);
    auto* layout = new QFormLayout(rows_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->setHorizontalSpacing(look::points(QuillmereDesign::Spacing::loose));
    layout->setVerticalSpacing(look::points(QuillmereDesign::Spacing::snug));
    column()->addWidget(rows_);
}

void TimedPhaseScreen::showRows(const std::vector<std::pair<QString, QString>>& rows)
{
    if (rows == shownRows_) {
        return;
    }
    shownRows_ = rows;
    rows_->setVisible(!rows.empty());
    auto* layout = static_cast<QFormLayout*>(rows_->layout());
    while (layout->rowCount() > 0) {
        layout->removeRow(0);
    }
    for (const auto& [label, value] : rows) {
        auto* name = new QLabel(label, rows_);
        look::makeSecondary(*name);
        auto* text = new QLabel(value, rows_);
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        // The value is read after its name and labelled by it; a name of its
        // own ("Outcome: …") would have a screen reader say the name twice.
        name->setBuddy(text);
        layout->addRow(name, text);
        // On a screen already shown a layout shows new rows only later.
        name->show();
        text->show();
    }
}

QColor TimedPhaseScreen::timerColour() const
{
    return look::phaseColour(widgetPhase(model_.state().workflowState), palette());
}

void TimedPhaseScreen::refresh()
{
    const auto& block = model_.state().currentBlock;
    const int started = block ? static_cast<int>(block->sessions.size()) : 0;
    const int planned = block ? static_cast<int>(block->cycleCount) : 0;
    const QColor colour = timerColour();
    dots_->showProgress(started, planned, colour);
    dots_->setVisible(planned > 0);
    sessionCaption_->setText(planned > 0 ? tr("Session %L1 of %L2").arg(started).arg(planned) : QString());
    sessionCaption_->setVisible(planned > 0);
    timer_->setColour(colour);
    timer_->setCaption(timerCaption());
    refreshTimer();
}

void TimedPhaseScreen::refreshTimer()
{
    // One reading of the timer a tick, for the digits and the ring alike.
    const auto timer = model_.timer();
    if (!timer) {
        timer_->setTime(QStringLiteral("00:00"));
        timer_->setProgress(0);
        return;
    }
    timer_->setTime(AppModel::timerText(*timer));
    const auto whole = timer->elapsedSeconds + std::max<std::int64_t>(timer->remainingSeconds, 0);
    timer_->setProgress(timer->isOvertime || whole <= 0 ? 1.0 : static_cast<double>(timer->elapsedSeconds) / whole);
}

void retitle(QPushButton* button, const QString& title)
{
    const QKeySequence shortcut = button->shortcut();
    button->setText(title);
    button->setShortcut(shortcut);
}

QString orPlaceholder(const std::string& value, const QString& placeholder)
{
    return value.empty() ? placeholder : shownText(value);
}

SessionPlan newBlankPlan()
{
    return SessionPlan::blank(Uuid::generate());
}

} // namespace quillmere
