// SPDX-License-Identifier: GPL-3.0-or-later
#include "ActionRowLayout.h"

#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QWidget>

#include <algorithm>

namespace quillmere {

ActionRowLayout::ActionRowLayout(Qt::Alignment alignment, QWidget* parent) : QLayout(parent), alignment_(alignment)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(look::points(QuillmereDesign::Spacing::snug));
}

ActionRowLayout::~ActionRowLayout()
{
    while (QLayoutItem* item = takeAt(0)) {
        delete item;
    }
}

void ActionRowLayout::addItem(QLayoutItem* item)
{
    items_.append(item);
}

int ActionRowLayout::count() const
{
    return static_cast<int>(items_.size());
}

QLayoutItem* ActionRowLayout::itemAt(int index) const
{
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* ActionRowLayout::takeAt(int index)
{
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int ActionRowLayout::gap() const
{
    return std::max(spacing(), 0);
}

QList<QLayoutItem*> ActionRowLayout::visibleItems() const
{
    QList<QLayoutItem*> shown;
    std::ranges::copy_if(items_, std::back_inserter(shown), [](QLayoutItem* item) { return !item->isEmpty(); });
    return shown;
}

int ActionRowLayout::rowWidth() const
{
    const QList<QLayoutItem*> shown = visibleItems();
    int width = 0;
    for (const QLayoutItem* item : shown) {
        width += item->sizeHint().width();
    }
    return width + gap() * std::max<int>(0, static_cast<int>(shown.size()) - 1);
}

QSize ActionRowLayout::sizeHint() const
{
    int height = 0;
    for (const QLayoutItem* item : visibleItems()) {
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins margins = contentsMargins();
    return {rowWidth() + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

QSize ActionRowLayout::minimumSize() const
{
    // Stacked, the widest button is all the width the row needs.
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : visibleItems()) {
        width = std::max(width, item->sizeHint().width());
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

int ActionRowLayout::heightForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    const QList<QLayoutItem*> shown = visibleItems();
    if (rowWidth() <= width - margins.left() - margins.right()) {
        return sizeHint().height();
    }
    int height = -gap();
    for (const QLayoutItem* item : shown) {
        height += item->sizeHint().height() + gap();
    }
    return std::max(height, 0) + margins.top() + margins.bottom();
}

void ActionRowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const QRect area = rect.marginsRemoved(contentsMargins());
    const QList<QLayoutItem*> shown = visibleItems();
    const int needed = rowWidth();
    if (needed <= area.width()) {
        int x = area.left();
        if (alignment_.testFlag(Qt::AlignHCenter)) {
            x += (area.width() - needed) / 2;
        } else if (alignment_.testFlag(Qt::AlignRight)) {
            x += area.width() - needed;
        }
        for (QLayoutItem* item : shown) {
            const QSize hint = item->sizeHint();
            item->setGeometry(QRect(QPoint(x, area.top()), QSize(hint.width(), hint.height())));
            x += hint.width() + gap();
        }
        return;
    }
    int y = area.top();
    for (QLayoutItem* item : shown) {
        const int height = item->sizeHint().height();
        item->setGeometry(QRect(area.left(), y, area.width(), height));
        y += height + gap();
    }
}

} // namespace quillmere
