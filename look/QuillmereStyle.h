// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

class QPushButton;

namespace quillmere::look {

// Quillmere's layer over the desktop's widget style. Whatever the base (a
// platform theme's Breeze or Adwaita, or Fusion where none is installed), it
// fills the one primary button of a screen with the accent, draws a focus
// ring that stands out on light and dark windows alike, and gives buttons
// room to breathe. Over Fusion, Quillmere's own fallback, it also draws the
// secondary buttons and the main window's tabs in the design's shapes, since
// Fusion's own look is what makes an application look unfinished.
//
//     look::installStyle(QStyleFactory::create("Fusion"));
//     auto* save = new QPushButton(tr("Save"));
//     look::makePrimary(*save);
class QuillmereStyle : public QProxyStyle {
    Q_OBJECT

public:
    explicit QuillmereStyle(QStyle* base = nullptr);

    void polish(QWidget* widget) override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

private:
    bool ownsShapes() const;
    void drawButtonBevel(const QStyleOption* option, QPainter* painter, bool primary) const;
    void drawFlatBevel(const QStyleOption* option, QPainter* painter) const;
    void drawTabShape(const QStyleOption* option, QPainter* painter) const;
};

// Makes `base` (Fusion when null) the application's style under Quillmere's
// layer. The application owns the style afterwards.
void installStyle(QStyle* base);

// Marks the one button of a screen that does the next thing; the style fills
// it with the accent. Read by layout checks as the action that must stay in
// reach.
void makePrimary(QPushButton& button);
bool isPrimary(const QWidget* widget);

} // namespace quillmere::look
