// SPDX-License-Identifier: GPL-3.0-or-later
#include "Palette.h"

#include <QColor>

namespace quillmere::look {
namespace {

// The colours of one palette. Active and inactive windows look alike (a
// window in the background stays calm, not faded); disabled controls keep
// their surfaces and dim their text.
struct Scheme {
    QColor window;
    QColor base;
    QColor alternateBase;
    QColor button;
    QColor text;
    QColor placeholder;
    QColor light;
    QColor midlight;
    QColor mid;
    QColor dark;
    QColor shadow;
    QColor brightText;
    QColor highlight;
    QColor highlightedText;
    QColor link;
    QColor linkVisited;
    QColor toolTipBase;
    QColor disabledText;
    QColor disabledHighlight;
    QColor disabledHighlightedText;
};

QPalette paletteOf(const Scheme& scheme)
{
    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor text = disabled ? scheme.disabledText : scheme.text;
        palette.setColor(group, QPalette::Window, scheme.window);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, scheme.base);
        palette.setColor(group, QPalette::AlternateBase, scheme.alternateBase);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::PlaceholderText, disabled ? scheme.disabledText : scheme.placeholder);
        palette.setColor(group, QPalette::Button, scheme.button);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Light, scheme.light);
        palette.setColor(group, QPalette::Midlight, scheme.midlight);
        palette.setColor(group, QPalette::Mid, scheme.mid);
        palette.setColor(group, QPalette::Dark, scheme.dark);
        palette.setColor(group, QPalette::Shadow, scheme.shadow);
        palette.setColor(group, QPalette::BrightText, scheme.brightText);
        palette.setColor(group, QPalette::Highlight, disabled ? scheme.disabledHighlight : scheme.highlight);
        palette.setColor(group, QPalette::HighlightedText,
                         disabled ? scheme.disabledHighlightedText : scheme.highlightedText);
        palette.setColor(group, QPalette::Link, scheme.link);
        palette.setColor(group, QPalette::LinkVisited, scheme.linkVisited);
        palette.setColor(group, QPalette::ToolTipBase, scheme.toolTipBase);
        palette.setColor(group, QPalette::ToolTipText, scheme.text);
    }
    return palette;
}

// One blue for both: white text on it reads in either palette.
const QColor accentBlue{0x2B, 0x63, 0xCC};

} // namespace

QPalette lightPalette()
{
    return paletteOf({
        .window = QColor(0xF3, 0xF3, 0xF5),
        .base = QColor(0xFF, 0xFF, 0xFF),
        .alternateBase = QColor(0xF6, 0xF6, 0xF8),
        .button = QColor(0xF9, 0xF9, 0xFB),
        .text = QColor(0x1D, 0x1E, 0x21),
        .placeholder = QColor(0x6C, 0x6D, 0x73),
        .light = QColor(0xFF, 0xFF, 0xFF),
        .midlight = QColor(0xEA, 0xEA, 0xED),
        .mid = QColor(0xC6, 0xC7, 0xCC),
        .dark = QColor(0x9F, 0xA0, 0xA6),
        .shadow = QColor(0x5E, 0x5F, 0x64),
        .brightText = QColor(0xFF, 0xFF, 0xFF),
        .highlight = accentBlue,
        .highlightedText = QColor(0xFF, 0xFF, 0xFF),
        .link = QColor(0x1F, 0x58, 0xC0),
        .linkVisited = QColor(0x6B, 0x45, 0xB0),
        .toolTipBase = QColor(0xFF, 0xFF, 0xFF),
        .disabledText = QColor(0x84, 0x85, 0x8B),
        .disabledHighlight = QColor(0xD3, 0xD5, 0xDA),
        .disabledHighlightedText = QColor(0x5E, 0x5F, 0x64),
    });
}

QPalette darkPalette()
{
    return paletteOf({
        .window = QColor(0x1E, 0x1F, 0x22),
        .base = QColor(0x2A, 0x2B, 0x2F),
        .alternateBase = QColor(0x31, 0x32, 0x36),
        .button = QColor(0x32, 0x33, 0x37),
        .text = QColor(0xE8, 0xE8, 0xEA),
        .placeholder = QColor(0x8E, 0x8F, 0x95),
        .light = QColor(0x45, 0x46, 0x4B),
        .midlight = QColor(0x3A, 0x3B, 0x40),
        .mid = QColor(0x27, 0x28, 0x2B),
        .dark = QColor(0x17, 0x18, 0x1A),
        .shadow = QColor(0x0B, 0x0B, 0x0C),
        .brightText = QColor(0x0B, 0x0B, 0x0C),
        .highlight = accentBlue,
        .highlightedText = QColor(0xFF, 0xFF, 0xFF),
        .link = QColor(0x7F, 0xAE, 0xFF),
        .linkVisited = QColor(0xB9, 0x9C, 0xFF),
        .toolTipBase = QColor(0x2A, 0x2B, 0x2F),
        .disabledText = QColor(0x7D, 0x7E, 0x84),
        .disabledHighlight = QColor(0x3F, 0x41, 0x47),
        .disabledHighlightedText = QColor(0xA4, 0xA5, 0xAB),
    });
}

} // namespace quillmere::look
