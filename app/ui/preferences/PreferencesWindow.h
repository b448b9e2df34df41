// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace quillmere {

class Preferences;

// The "Preferences" window: every choice is applied and written the moment
// it is made, so it has no OK or Cancel, only Close. A choice the system
// refuses (an autostart folder that cannot be written) is shown in the window
// and the control goes back to what holds. Follows the preferences when
// another program changes them.
class PreferencesWindow final : public QDialog {
    Q_OBJECT

public:
    explicit PreferencesWindow(Preferences& preferences, QWidget* parent = nullptr);

private:
    void sync();
    void syncProblems();
    void storeNewBlockDefaults();
    void showRefusal(const QString& text);

    Preferences& preferences_;
    QLabel* problems_ = nullptr;
    QWidget* problemsNotice_ = nullptr;
    QCheckBox* startAtLogin_ = nullptr;
    QRadioButton* keepCounting_ = nullptr;
    QRadioButton* pauseFocus_ = nullptr;
    QCheckBox* doNotDisturb_ = nullptr;
    QLabel* doNotDisturbNote_ = nullptr;
    QSpinBox* focusMinutes_ = nullptr;
    QSpinBox* breakMinutes_ = nullptr;
    QSpinBox* sessions_ = nullptr;
    QCheckBox* sound_ = nullptr;
    // The last refusal, until the next choice succeeds.
    QString refusal_;
};

} // namespace quillmere
