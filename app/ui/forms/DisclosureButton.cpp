// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisclosureButton.h"


namespace quillmere {

DisclosureButton::DisclosureButton(const QString& title, QWidget* parent) : QToolButton(parent)
{
    // Not checkable: a checked tool button is drawn sunken, which reads as
    // a pressed button rather than an open group.
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setFocusPolicy(Qt::StrongFocus);
    setTitle(title);
    showArrow();
    connect(this, &QToolButton::clicked, this, [this] {
        expanded_ = !expanded_;
        showArrow();
        emit expandedChanged(expanded_);
    });
}

void DisclosureButton::showExpanded(bool expanded)
{
    if (expanded_ != expanded) {
        expanded_ = expanded;
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

void DisclosureButton::showArrow()
{
    setArrowType(expanded_ ? Qt::DownArrow : Qt::RightArrow);
    setAccessibleDescription(expanded_ ? tr("Expanded") : tr("Collapsed"));
}

} // namespace quillmere
