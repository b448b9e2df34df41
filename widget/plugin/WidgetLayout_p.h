// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WidgetParts.h"

#include "quillmere/QuillmereDesign.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLayout>

#include <algorithm>
#include <cstdint>
#include <limits>

// What the widget's parts and its family views lay themselves out with.
namespace quillmere::widgetparts {

using QuillmereDesign::Spacing::loose;
using QuillmereDesign::Spacing::regular;
using QuillmereDesign::Spacing::section;
using QuillmereDesign::Spacing::snug;
using QuillmereDesign::Spacing::tight;

constexpr int px(double spacing)
{
    return static_cast<int>(spacing);
}

// The widget's own texts share one translation context.
struct WidgetTexts {
    Q_DECLARE_TR_FUNCTIONS(quillmere::WidgetParts)
};

// The small upper-case labels over a value or a bar.
inline QFont fieldLabelFont()
{
    return widgetFont(TypeSize::fieldLabel, QFont::DemiBold, 0.5);
}

inline QVBoxLayout* columnLayout(QWidget* widget, int spacing)
{
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

inline QHBoxLayout* rowLayout(QWidget* widget, int spacing)
{
    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

// Tells every layout above `widget` that its size changed. A widget that
// has never been shown does not do that by itself, and the views are often
// laid out and grabbed without being shown.
inline void relayout(QWidget* widget)
{
    for (QWidget* current = widget; current && !current->isWindow(); current = current->parentWidget()) {
        current->updateGeometry();
        if (QWidget* parent = current->parentWidget(); parent && parent->layout()) {
            parent->layout()->invalidate();
        }
    }
}

// Counted and listed questions can disagree in a damaged snapshot; the
// header never claims fewer than are listed.
inline std::int64_t openQuestionTotal(const WidgetSnapshot& snapshot)
{
    return std::max(snapshot.openQuestionCount, static_cast<std::int64_t>(snapshot.openQuestions.size()));
}

inline QString openQuestionText(std::int64_t count)
{
    const int shown = static_cast<int>(std::min<std::int64_t>(count, std::numeric_limits<int>::max()));
    return WidgetTexts::tr("%Ln open question(s)", nullptr, shown);
}

// A column whose width the layout shares out by stretch alone: the columns
// of the split layouts are equally wide whatever their content asks for.
inline void shareWidthEqually(QWidget* column)
{
    column->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

} // namespace quillmere::widgetparts
