// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostCommandLine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

namespace quillmere::widgethost {

namespace {

constexpr Family allFamilies[] = {Family::small, Family::medium, Family::large, Family::extraLarge};

// The host's command-line texts share one translation context.
struct HostTexts {
    Q_DECLARE_TR_FUNCTIONS(quillmere::widgethost::HostCommandLine)
};

} // namespace

QString familyText(Family family)
{
    switch (family) {
    case Family::small:
        return QStringLiteral("small");
    case Family::medium:
        return QStringLiteral("medium");
    case Family::large:
        return QStringLiteral("large");
    case Family::extraLarge:
        return QStringLiteral("extraLarge");
    }
    return {};
}

std::optional<Family> familyFromText(const QString& text)
{
    for (const Family family : allFamilies) {
        if (familyText(family) == text) {
            return family;
        }
    }
    return std::nullopt;
}

std::optional<TimePoint> instantFromText(const QString& text)
{
    const QDateTime parsed = QDateTime::fromString(text, Qt::ISODateWithMs);
    // A time without a zone would be read as local time, which makes a
    // rendered picture depend on where it was made.
    if (!parsed.isValid() || parsed.timeSpec() == Qt::LocalTime) {
        return std::nullopt;
    }
    return TimePoint(std::chrono::milliseconds(parsed.toMSecsSinceEpoch()));
}

QString usageText()
{
    // Line by line: the usage lines and the option names stay as typed, each
    // description is translated and keeps its column.
    const auto option = [](const char* name, const QString& description) {
        return QStringLiteral("  %1 ").arg(QLatin1String(name), -20) + description;
    };
    const QStringList lines{
        QStringLiteral("Usage: quillmere-widget-host [--family small|medium|large|extraLarge]... [options]"),
        QStringLiteral("       quillmere-widget-host --render FAMILY --out FILE.png [--at INSTANT] [--preview] "
                       "[options]"),
        QString(),
        HostTexts::tr("Shows desktop widgets, one window per --family (medium when none is given).\n"
                      "Drag a widget to move it; click it or press Return to open what it shows."),
        QString(),
        HostTexts::tr("Options:"),
        option("--family FAMILY", HostTexts::tr("add a widget of this size (may be repeated)")),
        option("--kind KIND", HostTexts::tr("show only widgets of this kind")),
        option("--plugin-dir DIR", HostTexts::tr("load widget plug-ins from DIR")),
        option("--palette light|dark", HostTexts::tr("draw with this palette instead of the desktop's")),
        option("--render FAMILY", HostTexts::tr("draw one entry to a PNG and exit")),
        option("--out FILE.png", HostTexts::tr("where --render writes")),
        option("--at INSTANT", HostTexts::tr("draw for this ISO 8601 instant, e.g. 2026-03-02T10:00:00Z")),
        option("--preview", HostTexts::tr("draw the sample shown before there is real data")),
        option("--verbose", HostTexts::tr("report every timeline and shown entry on stderr")),
        QStringLiteral("  --help, --version"),
    };
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

std::expected<HostOptions, QString> parseHostCommandLine(const QStringList& arguments)
{
    HostOptions options;
    std::optional<Family> renderFamily;
    QString outputFile;
    std::optional<TimePoint> at;
    bool atGiven = false;
    bool preview = false;

    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        const auto value = [&]() -> std::expected<QString, QString> {
            if (index + 1 >= arguments.size()) {
                return std::unexpected(HostTexts::tr("%1 needs a value").arg(argument));
            }
            return arguments[++index];
        };
        const auto family = [&]() -> std::expected<Family, QString> {
            auto text = value();
            if (!text) {
                return std::unexpected(text.error());
            }
            if (auto parsed = familyFromText(*text)) {
                return *parsed;
            }
            return std::unexpected(
                HostTexts::tr("unknown family \"%1\" (small, medium, large or extraLarge)").arg(*text));
        };

        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == QLatin1String("--verbose")) {
            options.verbose = true;
        } else if (argument == QLatin1String("--preview")) {
            preview = true;
        } else if (argument == QLatin1String("--family")) {
            auto parsed = family();
            if (!parsed) {
                return std::unexpected(parsed.error());
            }
            options.families.push_back(*parsed);
        } else if (argument == QLatin1String("--render")) {
            auto parsed = family();
            if (!parsed) {
                return std::unexpected(parsed.error());
            }
            renderFamily = *parsed;
        } else if (argument == QLatin1String("--out")) {
            auto text = value();
            if (!text) {
                return std::unexpected(text.error());
            }
            outputFile = *text;
        } else if (argument == QLatin1String("--at")) {
            auto text = value();
            if (!text) {
                return std::unexpected(text.error());
            }
            at = instantFromText(*text);
            if (!at) {
                return std::unexpected(HostTexts::tr("\"%1\" is not an ISO 8601 instant with a zone").arg(*text));
            }
            atGiven = true;
        } else if (argument == QLatin1String("--plugin-dir")) {
            auto text = value();
            if (!text) {
                return std::unexpected(text.error());
            }
            options.pluginDirectory = *text;
        } else if (argument == QLatin1String("--kind")) {
            auto text = value();
            if (!text) {
                return std::unexpected(text.error());
            }
            options.kind = *text;
        } else if (argument == QLatin1String("--palette")) {
            auto text = value();
            if (!text) {
                return std::unexpected(text.error());
            }
            if (*text == QLatin1String("light")) {
                options.palette = PaletteChoice::light;
            } else if (*text == QLatin1String("dark")) {
                options.palette = PaletteChoice::dark;
            } else {
                return std::unexpected(HostTexts::tr("unknown palette \"%1\" (light or dark)").arg(*text));
            }
        } else {
            return std::unexpected(HostTexts::tr("unknown argument \"%1\"").arg(argument));
        }
    }

    if (options.help || options.version) {
        return options;
    }
    if (renderFamily) {
        if (outputFile.isEmpty()) {
            return std::unexpected(HostTexts::tr("--render needs --out FILE.png"));
        }
        if (!options.families.empty()) {
            return std::unexpected(HostTexts::tr("--render draws one family; leave out --family"));
        }
        options.render = RenderRequest{*renderFamily, outputFile, at, preview};
    } else if (!outputFile.isEmpty() || atGiven || preview) {
        return std::unexpected(HostTexts::tr("--out, --at and --preview go with --render"));
    }
    if (!options.render && options.families.empty()) {
        options.families.push_back(Family::medium);
    }
    return options;
}

} // namespace quillmere::widgethost
