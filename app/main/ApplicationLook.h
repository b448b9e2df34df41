// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DesktopAppearance.h"

#include <QFont>
#include <QObject>
#include <QString>

#include <optional>
#include <string_view>
#include <vector>

namespace quillmere {

// The widget style Qt gave the application before Quillmere changed
// anything, and whether the user picked it.
struct StyleOrigin {
    // As QStyle::name() says it: a platform theme's style ("breeze",
    // "adwaita", ...) or Qt's own ("fusion", "windows"). Empty when unknown.
    QString name;
    // Picked with -style or QT_STYLE_OVERRIDE for this run.
    bool forced = false;
};

// Whether the user picked the widget style: -style or --style, with the
// name apart or after "=", or a QT_STYLE_OVERRIDE that is not empty.
bool styleForcedByUser(const std::vector<std::string_view>& arguments, const char* styleOverride);

// How Quillmere's windows look on a desktop.
struct LookChoice {
    enum class Palette { style, light, dark };

    // The base style under Quillmere's layer, as QStyleFactory names it.
    QString style;
    // The style's (and its platform theme's) palette, or one of Quillmere's.
    Palette palette = Palette::style;
    // What the application font is multiplied by.
    double fontScale = 1.0;

    bool operator==(const LookChoice&) const = default;
};

// A platform theme's style keeps its palette and its fonts: the theme
// follows the desktop's colours and text size itself. Qt's own styles (no
// platform theme) give way to Fusion, or stay when the user picked them,
// with Quillmere's palette, dark only when the desktop prefers dark, and the
// desktop's text scale, unless the platform already enlarges everything by
// it (`platformScalesText`: on X11 GNOME turns the scale into the font
// resolution, which Qt follows).
LookChoice chooseLook(const StyleOrigin& origin, DesktopAppearance::ColourScheme scheme, double textScale,
                      bool platformScalesText);

// Keeps the application's style, palette, font and motion as the desktop
// asks: installs the chosen style under Quillmere's layer at once, and
// recolours, rescales and stills every window whenever the desktop's
// settings change. Main thread only.
class ApplicationLook final : public QObject {
    Q_OBJECT

public:
    ApplicationLook(const DesktopAppearance& appearance, StyleOrigin origin, QObject* parent = nullptr);

private:
    void apply();

    const DesktopAppearance& appearance_;
    StyleOrigin origin_;
    // The application font as the platform gave it, before any scaling.
    QFont platformFont_;
    std::optional<LookChoice> applied_;
};

} // namespace quillmere
