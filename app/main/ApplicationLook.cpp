// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationLook.h"

#include "Motion.h"
#include "Palette.h"
#include "QuillmereStyle.h"

#include <QApplication>
#include <QStyleFactory>

#include <algorithm>
#include <array>

namespace quillmere {
namespace {

bool isQtsOwnStyle(const QString& name)
{
    return name.isEmpty() || name == QLatin1String("fusion") || name == QLatin1String("windows");
}

// Quillmere's own transitions and the toolkit's (menus and lists that slide
// or fade open) stop together when the desktop asks for reduced motion, and
// the toolkit's come back as the platform had them.
void allowMotion(bool allowed)
{
    static constexpr std::array effects{Qt::UI_AnimateMenu, Qt::UI_FadeMenu,     Qt::UI_AnimateCombo,
                                        Qt::UI_AnimateTooltip, Qt::UI_FadeTooltip, Qt::UI_AnimateToolBox};
    static const std::array platform = [] {
        std::array<bool, effects.size()> enabled{};
        std::ranges::transform(effects, enabled.begin(), [](Qt::UIEffect effect) {
            return QApplication::isEffectEnabled(effect);
        });
        return enabled;
    }();
    look::setAnimationsEnabled(allowed);
    for (std::size_t index = 0; index < effects.size(); ++index) {
        QApplication::setEffectEnabled(effects[index], allowed && platform[index]);
    }
}

} // namespace

bool styleForcedByUser(const std::vector<std::string_view>& arguments, const char* styleOverride)
{
    if (styleOverride != nullptr && *styleOverride != '\0') {
        return true;
    }
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        std::string_view argument = arguments[index];
        // Qt reads its options with one dash or two.
        if (argument.starts_with("--")) {
            argument.remove_prefix(1);
        }
        if (argument.starts_with("-style=") || (argument == "-style" && index + 1 < arguments.size())) {
            return true;
        }
    }
    return false;
}

LookChoice chooseLook(const StyleOrigin& origin, DesktopAppearance::ColourScheme scheme, double textScale,
                      bool platformScalesText)
{
    const QString name = origin.name.toLower();
    if (!isQtsOwnStyle(name)) {
        return {name, LookChoice::Palette::style, 1.0};
    }
    LookChoice choice;
    choice.style = origin.forced && !name.isEmpty() ? name : QStringLiteral("fusion");
    switch (scheme) {
    case DesktopAppearance::ColourScheme::dark: choice.palette = LookChoice::Palette::dark; break;
    case DesktopAppearance::ColourScheme::noPreference:
    case DesktopAppearance::ColourScheme::light: choice.palette = LookChoice::Palette::light; break;
    }
    choice.fontScale = platformScalesText ? 1.0 : textScale;
    return choice;
}

ApplicationLook::ApplicationLook(const DesktopAppearance& appearance, StyleOrigin origin, QObject* parent)
    : QObject(parent), appearance_(appearance), origin_(std::move(origin)), platformFont_(QApplication::font())
{
    apply();
    connect(&appearance_, &DesktopAppearance::colourSchemeChanged, this, &ApplicationLook::apply);
    connect(&appearance_, &DesktopAppearance::textScaleChanged, this, &ApplicationLook::apply);
    allowMotion(!appearance_.reducedMotion());
    connect(&appearance_, &DesktopAppearance::reducedMotionChanged, this,
            [](bool reduced) { allowMotion(!reduced); });
}

void ApplicationLook::apply()
{
    const LookChoice choice = chooseLook(origin_, appearance_.colourScheme(), appearance_.textScale(),
                                         QGuiApplication::platformName() == QLatin1String("xcb"));
    // The style before the palette: a new style would otherwise bring its
    // own palette over Quillmere's.
    if (!applied_ || applied_->style != choice.style) {
        look::installStyle(QStyleFactory::create(choice.style));
    }
    if (!applied_ || applied_->palette != choice.palette) {
        switch (choice.palette) {
        case LookChoice::Palette::style:
            // Left alone: an application palette would stop the platform
            // theme's from following the desktop's colours.
            break;
        case LookChoice::Palette::light: QApplication::setPalette(look::lightPalette()); break;
        case LookChoice::Palette::dark: QApplication::setPalette(look::darkPalette()); break;
        }
    }
    if (applied_ ? applied_->fontScale != choice.fontScale : choice.fontScale != 1.0) {
        QFont font = platformFont_;
        if (font.pointSizeF() > 0) {
            font.setPointSizeF(font.pointSizeF() * choice.fontScale);
        } else {
            font.setPixelSize(qRound(font.pixelSize() * choice.fontScale));
        }
        QApplication::setFont(font);
    }
    applied_ = choice;
}

} // namespace quillmere
