// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereDesign.h"

#include <QColor>
#include <QWidget>

#include <optional>

namespace quillmere {

// The one card of the design: a surface a step apart from the window, a
// hairline edge and rounded corners, optionally tinted (a notice). Forms
// group their fields in it, the running screens their plan, lists their
// entries, so that every screen groups things the same way.
class QuillmereCard : public QWidget {
    Q_OBJECT

public:
    explicit QuillmereCard(double radius = QuillmereDesign::Radius::card, std::optional<QColor> tint = std::nullopt,
                           QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double radius_;
    std::optional<QColor> tint_;
};

} // namespace quillmere
