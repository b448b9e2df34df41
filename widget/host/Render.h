// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HostCommandLine.h"
#include "PluginCatalogue.h"

#include <QImage>
#include <QPalette>

#include <expected>

namespace quillmere::widgethost {

// The palette a choice stands for; the system palette for `system`.
QPalette paletteFor(PaletteChoice choice);

// Draws what the host would show for one entry of `kind` at one size, frame
// included: the snapshot request's entry (the sample with `preview`) at the
// request's instant. The error says what went wrong, for stderr.
[[nodiscard]] std::expected<QImage, QString> renderEntry(const WidgetKind& kind, const RenderRequest& request, TimePoint now);

// renderEntry to request.outputFile as a PNG.
[[nodiscard]] std::expected<void, QString> renderToFile(const WidgetKind& kind, const RenderRequest& request, TimePoint now);

} // namespace quillmere::widgethost
