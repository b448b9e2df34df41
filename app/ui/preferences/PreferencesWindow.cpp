// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreferencesWindow.h"

#include "Preferences.h"
#include "ScreenParts_p.h"
#include "forms/FormComponents.h"
#include "forms/FormParts_p.h"

#include "Look.h"
#include "QuillmereCard.h"

#include "quillmere/QuillmereDesign.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
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

    // A notice, tinted as the main window's.
    QColor tint = look::orange;
    tint.setAlphaF(0.14f);
    problemsNotice_ = new QuillmereCard(QuillmereDesign::Radius::control, tint, this);
    auto* notice = new QVBoxLayout(problemsNotice_);
    notice->setContentsMargins(0, 0, 0, 0);
    problems_ = makeLabel(QString(), problemsNotice_);
    problems_->setAccessibleName(tr("Problems with the preferences"));
    notice->addWidget(problems_);
    layout->addWidget(problemsNotice_);

    auto* start = new FormGroup(tr("Starting"), this, GroupFrame::none);
    startAtLogin_ = new QCheckBox(tr("&Start Quillmere when I log in"), start);
    start->addRow(startAtLogin_);
    layout->addWidget(start);

    auto* focus = new FormGroup(tr("During focus"), this, GroupFrame::none);
    // The two answers stand under their question, set in like a list.
    auto* answers = new QWidget(focus);
    auto* answerColumn = makeColumn(answers, QuillmereDesign::Spacing::tight);
    answerColumn->addWidget(makeLabel(tr("When the screen locks or the computer sleeps:"), answers));
    answerColumn->addSpacing(look::points(QuillmereDesign::Spacing::tight));
    keepCounting_ = new QRadioButton(tr("&Keep counting"), answers);
    pauseFocus_ = new QRadioButton(tr("&Pause the focus"), answers);
    auto* indented = new QVBoxLayout;
    indented->setContentsMargins(look::points(QuillmereDesign::Spacing::section), 0, 0, 0);
    indented->addWidget(keepCounting_);
    indented->addWidget(pauseFocus_);
    answerColumn->addLayout(indented);
    pauseFocus_->setToolTip(tr("Quillmere pauses a running focus and tells you for how long when you are back. "
                               "It never resumes by itself; a break runs on."));
    auto* away = new QButtonGroup(this);
    away->addButton(keepCounting_);
    away->addButton(pauseFocus_);
    focus->addRow(answers);
    // The note says why the box is greyed, under the box's own text.
    auto* silence = new QWidget(focus);
    auto* silenceColumn = makeColumn(silence, QuillmereDesign::Spacing::tight);
    doNotDisturb_ = new QCheckBox(tr("&Do not disturb during focus"), silence);
    doNotDisturbNote_ = makeSecondaryText(QString(), silence);
    doNotDisturbNote_->setFont(look::captionFont());
    doNotDisturbNote_->setContentsMargins(style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                                              style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing),
                                          0, 0, 0);
    silenceColumn->addWidget(doNotDisturb_);
    silenceColumn->addWidget(doNotDisturbNote_);
    focus->addRow(silence);
    layout->addWidget(focus);

    auto* blocks = new FormGroup(tr("New blocks"), this, GroupFrame::none);
    focusMinutes_ = makeStepper(tr(" min"), NewBlockDefaults::focusMinutesRange, tr("Focus"), blocks);
    breakMinutes_ = makeStepper(tr(" min"), NewBlockDefaults::breakMinutesRange, tr("Break"), blocks);
    sessions_ = makeStepper(QString(), NewBlockDefaults::sessionsRange, tr("Sessions"), blocks);
    shareWidth({focusMinutes_, breakMinutes_, sessions_});
    blocks->addRow(makeLabelledRow(new QLabel(tr("&Focus"), blocks), focusMinutes_, blocks));
    blocks->addRow(makeLabelledRow(new QLabel(tr("&Break"), blocks), breakMinutes_, blocks));
    blocks->addRow(makeLabelledRow(new QLabel(tr("S&essions"), blocks), sessions_, blocks));
    layout->addWidget(blocks);

    auto* notifications = new FormGroup(tr("Notifications"), this, GroupFrame::none);
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
    problemsNotice_->setVisible(!lines.isEmpty());
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
