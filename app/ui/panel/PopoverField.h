// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

namespace quillmere {

class ClampedText;

// A label over a value in the status panel: the label small, upper-case and
// faint; the value in at most three lines, the last one elided when the text
// needs more. Holds only the two texts.
class PopoverField : public QWidget {
    Q_OBJECT

public:
    PopoverField(const QString& label, const QString& value, QWidget* parent = nullptr);

    QString label() const { return label_; }
    QString value() const { return value_; }
    // The lines the value shows when laid out `width` pixels wide.
    QStringList valueLines(int width) const;

private:
    QString label_;
    QString value_;
    ClampedText* valueText_ = nullptr;
};

} // namespace quillmere
