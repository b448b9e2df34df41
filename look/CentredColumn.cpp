// SPDX-License-Identifier: GPL-3.0-or-later
#include "CentredColumn.h"

#include <QBoxLayout>

namespace quillmere {

CentredColumn::CentredColumn(int maxWidth, Qt::Alignment vertical, QWidget* parent) : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    const bool centred = vertical.testFlag(Qt::AlignVCenter);
    if (centred) {
        outer->addStretch(1);
    }
    auto* across = new QHBoxLayout;
    across->setContentsMargins(0, 0, 0, 0);
    across->setSpacing(0);
    content_ = new QWidget(this);
    content_->setMaximumWidth(maxWidth);
    content_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    body_ = new QVBoxLayout(content_);
    body_->setContentsMargins(0, 0, 0, 0);
    across->addStretch(0);
    across->addWidget(content_, 1);
    across->addStretch(0);
    outer->addLayout(across);
    outer->addStretch(1);
}

} // namespace quillmere
