// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhaseScreen.h"

#include "Look.h"
#include "ScreenParts_p.h"
#include "TimerLabel.h"
#include "forms/FormComponents.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillmere {

namespace {

constexpr int screenWidth = 680;
constexpr int cycleSpacing = 24;
constexpr int formSpacing = 16;
constexpr int timerPointSize = 64;

} // namespace

PhaseScreen::PhaseScreen(AppModel& model, Spacing spacing, QWidget* parent)
    : QWidget(parent), model_(model), spacing_(spacing)
{
    setMaximumWidth(screenWidth);
    column_ = new QVBoxLayout(this);
    column_->setContentsMargins(0, 0, 0, 0);
    switch (spacing) {
    case Spacing::cycle: column_->setSpacing(cycleSpacing); break;
    case Spacing::form: column_->setSpacing(formSpacing); break;
    }
    column_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
}

QLabel* PhaseScreen::addTitle(const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setFont(look::titleFont());
    label->setAccessibleName(text);
    label->setWordWrap(true);
    column_->addWidget(label);
    return label;
}

QLabel* PhaseScreen::addHint(const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    look::makeSecondary(*label);
    column_->addWidget(label);
    return label;
}

void PhaseScreen::addButtons(std::initializer_list<QPushButton*> buttons)
{
    QWidget* holder = nullptr;
    switch (spacing_) {
    case Spacing::cycle: holder = new QWidget(this); break;
    case Spacing::form: holder = new QGroupBox(this); break;
    }
    auto* row = new QHBoxLayout(holder);
    if (spacing_ == Spacing::cycle) {
        row->setContentsMargins(0, 0, 0, 0);
    }
    for (QPushButton* button : buttons) {
        button->setParent(holder);
        row->addWidget(button);
    }
    row->addStretch();
    column_->addWidget(holder);
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
    timer_ = new TimerLabel(timerName, timerPointSize, this);
    column()->addWidget(timer_);
    connect(&model_, &AppModel::displayTickChanged, this, &TimedPhaseScreen::refreshTimer);
}

void TimedPhaseScreen::addRowsPlace()
{
    rows_ = new QWidget(this);
    auto* layout = new QFormLayout(rows_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    column()->addWidget(rows_);
}

void TimedPhaseScreen::showRows(const std::vector<std::pair<QString, QString>>& rows)
{
    if (rows == shownRows_) {
        return;
    }
    shownRows_ = rows;
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
        text->setAccessibleName(tr("%1: %2", "a row's name and its value").arg(label, value));
        name->setBuddy(text);
        layout->addRow(name, text);
        // On a screen already shown a layout shows new rows only later.
        name->show();
        text->show();
    }
}

void TimedPhaseScreen::refresh()
{
    refreshTimer();
}

void TimedPhaseScreen::refreshTimer()
{
    timer_->setTime(model_.timerText().value_or(QStringLiteral("00:00")));
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
