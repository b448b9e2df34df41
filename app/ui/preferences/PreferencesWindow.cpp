// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreferencesWindow.h"

#include "Preferences.h"
#include "ScreenParts_p.h"
#include "forms/FormComponents.h"
#include "forms/FormParts_p.h"

#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace quillmere {
namespace {

template <class Control, class Value>
void showValue(Control* control, void (Control::*set)(Value), const Value& value, const Value& current)
{
    if (current != value) {
        const QSignalBlocker blocker(control);
        (control->*set)(value);
    }
}

void showChecked(QAbstractButton* button, bool checked)
{
    showValue(button, &QAbstractButton::setChecked, checked, button->isChecked());
}

// A row label that is its field's buddy: a click or its mnemonic focuses the
// field.
void addRow(QFormLayout* form, const QString& label, QWidget* field)
{
    auto* text = new QLabel(label, field->parentWidget());
    text->setBuddy(field);
    form->addRow(text, field);
}

} // namespace

PreferencesWindow::PreferencesWindow(Preferences& preferences, QWidget* parent)
    : QDialog(parent), preferences_(preferences)
{
    setWindowTitle(tr("Preferences"));
    setMinimumWidth(look::points(440));
    auto* layout = new QVBoxLayout(this);
    const int inset = look::points(QuillmereDesign::Spacing::section);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::section));

    problems_ = makeLabel(QString(), this);
    problems_->setAccessibleName(tr("Problems with the preferences"));
    layout->addWidget(problems_);

    auto* start = new FormGroup(tr("Starting"), this);
    startAtLogin_ = new QCheckBox(tr("&Start Quillmere when I log in"), start);
    start->addRow(startAtLogin_);
    layout->addWidget(start);

    auto* focus = new FormGroup(tr("During focus"), this);
    auto* awayText = new QLabel(tr("When the screen locks or the computer sleeps:"), focus);
    // The two answers stand under their question, set in like a list.
    auto* answers = new QWidget(focus);
    auto* answerColumn = new QVBoxLayout(answers);
    answerColumn->setContentsMargins(look::points(QuillmereDesign::Spacing::section), 0, 0, 0);
    keepCounting_ = new QRadioButton(tr("&Keep counting"), answers);
    pauseFocus_ = new QRadioButton(tr("&Pause the focus"), answers);
    answerColumn->addWidget(keepCounting_);
    answerColumn->addWidget(pauseFocus_);
    pauseFocus_->setToolTip(tr("Quillmere pauses a running focus and tells you for how long when you are back. "
                               "It never resumes by itself; a break runs on."));
    auto* away = new QButtonGroup(this);
    away->addButton(keepCounting_);
    away->addButton(pauseFocus_);
    focus->addRow(awayText);
    focus->addRow(answers);
    doNotDisturb_ = new QCheckBox(tr("&Do not disturb during focus"), focus);
    doNotDisturbNote_ = makeSecondaryText(QString(), focus);
    focus->addRow(doNotDisturb_);
    focus->addRow(doNotDisturbNote_);
    layout->addWidget(focus);

    auto* blocks = new FormGroup(tr("New blocks"), this);
    auto* numbers = new QWidget(blocks);
    auto* form = new QFormLayout(numbers);
    form->setContentsMargins(0, 0, 0, 0);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    focusMinutes_ = makeStepper(QString(), tr(" min"), NewBlockDefaults::focusMinutesRange, tr("Focus"), numbers);
    breakMinutes_ = makeStepper(QString(), tr(" min"), NewBlockDefaults::breakMinutesRange, tr("Break"), numbers);
    sessions_ = makeStepper(QString(), QString(), NewBlockDefaults::sessionsRange, tr("Sessions"), numbers);
    // One width for the three, so that they line up as a column.
    int width = 0;
    for (QSpinBox* stepper : {focusMinutes_, breakMinutes_, sessions_}) {
        width = std::max(width, stepper->sizeHint().width());
    }
    for (QSpinBox* stepper : {focusMinutes_, breakMinutes_, sessions_}) {
        stepper->setMinimumWidth(width);
    }
    addRow(form, tr("&Focus:"), focusMinutes_);
    addRow(form, tr("&Break:"), breakMinutes_);
    addRow(form, tr("S&essions:"), sessions_);
    blocks->addRow(numbers);
    layout->addWidget(blocks);

    auto* notifications = new FormGroup(tr("Notifications"), this);
    sound_ = new QCheckBox(tr("Play a s&ound at the end of focus and break"), notifications);
    notifications->addRow(sound_);
    layout->addWidget(notifications);

    layout->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(startAtLogin_, &QCheckBox::toggled, this, [this](bool checked) {
        const auto done = preferences_.setStartAtLogin(checked);
        showRefusal(done ? QString() : done.error());
        sync();
    });
    connect(pauseFocus_, &QRadioButton::toggled, this, [this](bool checked) {
        preferences_.setWhenAway(checked ? WhenAway::pauseFocus : WhenAway::keepCounting);
    });
    connect(doNotDisturb_, &QCheckBox::toggled, &preferences_, &Preferences::setDoNotDisturb);
    connect(sound_, &QCheckBox::toggled, &preferences_, &Preferences::setSoundAtEnd);
    for (QSpinBox* stepper : {focusMinutes_, breakMinutes_, sessions_}) {
        connect(stepper, &QSpinBox::valueChanged, this, &PreferencesWindow::storeNewBlockDefaults);
    }

    connect(&preferences_, &Preferences::whenAwayChanged, this, &PreferencesWindow::sync);
    connect(&preferences_, &Preferences::doNotDisturbChanged, this, &PreferencesWindow::sync);
    connect(&preferences_, &Preferences::doNotDisturbSupportChanged, this, &PreferencesWindow::sync);
    connect(&preferences_, &Preferences::soundAtEndChanged, this, &PreferencesWindow::sync);
    connect(&preferences_, &Preferences::newBlockDefaultsChanged, this, &PreferencesWindow::sync);
    connect(&preferences_, &Preferences::startAtLoginChanged, this, &PreferencesWindow::sync);
    connect(&preferences_, &Preferences::problemsChanged, this, &PreferencesWindow::syncProblems);
    sync();
    syncProblems();
}

void PreferencesWindow::sync()
{
    showChecked(startAtLogin_, preferences_.startAtLogin());
    const bool pause = preferences_.whenAway() == WhenAway::pauseFocus;
    showChecked(pauseFocus_, pause);
    showChecked(keepCounting_, !pause);
    const DoNotDisturbSupport& support = preferences_.doNotDisturbSupport();
    // A choice made where nothing can silence stays stored for a desktop
    // that can; the box shows it, greyed.
    showChecked(doNotDisturb_, preferences_.doNotDisturb());
    doNotDisturb_->setEnabled(support.available);
    doNotDisturbNote_->setText(support.description);
    doNotDisturbNote_->setVisible(!support.description.isEmpty());
    doNotDisturb_->setAccessibleDescription(support.description);
    showChecked(sound_, preferences_.soundAtEnd());
    const NewBlockDefaults& defaults = preferences_.newBlockDefaults();
    showValue(focusMinutes_, &QSpinBox::setValue, defaults.focusMinutes, focusMinutes_->value());
    showValue(breakMinutes_, &QSpinBox::setValue, defaults.breakMinutes, breakMinutes_->value());
    showValue(sessions_, &QSpinBox::setValue, defaults.sessions, sessions_->value());
}

void PreferencesWindow::syncProblems()
{
    QStringList lines = preferences_.problems();
    if (!refusal_.isEmpty()) {
        lines.prepend(refusal_);
    }
    problems_->setText(lines.join(QLatin1Char('\n')));
    problems_->setVisible(!lines.isEmpty());
}

void PreferencesWindow::showRefusal(const QString& text)
{
    refusal_ = text;
    syncProblems();
}

void PreferencesWindow::storeNewBlockDefaults()
{
    // The steppers keep to the ranges, so this is never refused.
    (void)preferences_.setNewBlockDefaults({focusMinutes_->value(), breakMinutes_->value(), sessions_->value()});
}

} // namespace quillmere
