// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLayout>
#include <QList>

namespace quillmere {

// A row of actions that stays one row while its buttons fit and otherwise
// stacks them, each the row's full width, so that no language and no text
// scale cuts a button's words or pushes one out of reach. The row keeps its
// alignment (left under a form, centred under a timer).
//
//     auto* row = new ActionRowLayout(Qt::AlignHCenter, holder);
//     row->addWidget(start);
//     row->addWidget(skip);
class ActionRowLayout : public QLayout {
    Q_OBJECT

public:
    ActionRowLayout(Qt::Alignment alignment, QWidget* parent = nullptr);
    ~ActionRowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;

private:
    QList<QLayoutItem*> visibleItems() const;
    // The width one row needs, spaces included.
    int rowWidth() const;
    int gap() const;

    QList<QLayoutItem*> items_;
    Qt::Alignment alignment_;
};

} // namespace quillmere
