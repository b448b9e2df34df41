// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QVBoxLayout;

namespace quillmere {

// A column of content at most `maxWidth` wide, centred across whatever room
// it is given, and either at the top or centred top to bottom as well (the
// calm screens of the cycle). Narrower than the maximum, it fills the room;
// a screen never lays out against the window's left edge with the rest empty.
//
//     auto* column = new CentredColumn(look::readingWidth, Qt::AlignVCenter, page);
//     column->body()->addWidget(title);
class CentredColumn : public QWidget {
    Q_OBJECT

public:
    CentredColumn(int maxWidth, Qt::Alignment vertical, QWidget* parent = nullptr);

    // The column's own layout, for the content.
    QVBoxLayout* body() const { return body_; }
    QWidget* content() const { return content_; }

private:
    QWidget* content_ = nullptr;
    QVBoxLayout* body_ = nullptr;
};

} // namespace quillmere
