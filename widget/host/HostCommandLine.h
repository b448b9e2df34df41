// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WidgetHostInterface.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <optional>
#include <vector>

namespace quillmere::widgethost {

enum class PaletteChoice { system, light, dark };

// `--render`: draw one entry off screen to a PNG and exit.
struct RenderRequest {
    Family family = Family::medium;
    QString outputFile;
    // The instant the widget is drawn for; now when absent.
    std::optional<TimePoint> at;
    bool preview = false;

    friend bool operator==(const RenderRequest&, const RenderRequest&) = default;
};

// What the host was asked to do.
struct HostOptions {
    // One window per family, in the order given; medium when none is given.
    std::vector<Family> families;
    // Empty: the install's plug-in folder.
    QString pluginDirectory;
    // Empty: every kind the plug-ins register.
    QString kind;
    PaletteChoice palette = PaletteChoice::system;
    std::optional<RenderRequest> render;
    // Each shown entry and each timeline request is reported on stderr.
    bool verbose = false;
    bool help = false;
    bool version = false;

    friend bool operator==(const HostOptions&, const HostOptions&) = default;
};

// Reads the arguments after the program name. The error text names the
// offending argument, for the usage message.
[[nodiscard]] std::expected<HostOptions, QString> parseHostCommandLine(const QStringList& arguments);

QString usageText();

std::optional<Family> familyFromText(const QString& text);
QString familyText(Family family);

// ISO 8601 with a zone ("2026-03-02T10:00:00Z", "+01:00"); none otherwise.
std::optional<TimePoint> instantFromText(const QString& text);

} // namespace quillmere::widgethost
