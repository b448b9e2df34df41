// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

namespace quillmere {

// A header with a disclosure arrow that shows and hides what belongs to it.
// Checked while open, but drawn flat either way: a checked tool button is
// drawn sunken, which reads as a pressed button rather than an open group.
// Space or a click toggles it; it says "Expanded" or "Collapsed" to screen
// readers.
class DisclosureButton : public QToolButton {
    Q_OBJECT

public:
    explicit DisclosureButton(const QString& title, QWidget* parent = nullptr);

    bool isExpanded() const { return isChecked(); }
    // Shows the new state without reporting it through `expandedChanged`.
    void showExpanded(bool expanded);
    void setTitle(const QString& title);

signals:
    // The user expanded or collapsed it.
    void expandedChanged(bool expanded);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showArrow();
};

} // namespace quillmere
