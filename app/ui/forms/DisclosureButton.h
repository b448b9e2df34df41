// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

namespace quillmere {

// A checkable header with a disclosure arrow that shows and hides what
// belongs to it. Space or a click toggles it; it says "Expanded" or
// "Collapsed" to screen readers.
class DisclosureButton : public QToolButton {
    Q_OBJECT

public:
    explicit DisclosureButton(const QString& title, QWidget* parent = nullptr);

    bool isExpanded() const { return expanded_; }
    // Shows the new state without reporting it through `expandedChanged`.
    void showExpanded(bool expanded);
    void setTitle(const QString& title);

signals:
    // The user expanded or collapsed it.
    void expandedChanged(bool expanded);

private:
    void showArrow();

    bool expanded_ = false;
};

} // namespace quillmere
