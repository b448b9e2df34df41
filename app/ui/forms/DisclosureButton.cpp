// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisclosureButton.h"

#include <QSignalBlocker>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace quillmere {

DisclosureButton::DisclosureButton(const QString& title, QWidget* parent) : QToolButton(parent)
{
    setCheckable(true);
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setFocusPolicy(Qt::StrongFocus);
    setTitle(title);
    showArrow();
    connect(this, &QToolButton::toggled, this, [this](bool expanded) {
        showArrow();
        emit expandedChanged(expanded);
    });
}

void DisclosureButton::showExpanded(bool expanded)
{
    if (isChecked() != expanded) {
        const QSignalBlocker blocker(this);
        setChecked(expanded);
        showArrow();
    }
}

void DisclosureButton::setTitle(const QString& title)
{
    if (text() != title) {
        setText(title);
        setAccessibleName(title);
    }
}

void DisclosureButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    if (!isDown()) {
        option.state &= ~(QStyle::State_On | QStyle::State_Sunken);
    }
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

void DisclosureButton::showArrow()
{
    setArrowType(isChecked() ? Qt::DownArrow : Qt::RightArrow);
    setAccessibleDescription(isChecked() ? tr("Expanded") : tr("Collapsed"));
}

} // namespace quillmere
