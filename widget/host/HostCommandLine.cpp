#include "HostCommandLine.h"

#include <QDateTime>

namespace quillmere::widgethost {

namespace {

constexpr Family allFamilies[] = {Family::small, Family::medium, Family::large, Family::extraLarge};

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
    return QStringLiteral(
        "Usage: quillmere-widget-host [--family small|medium|large|extraLarge]... [options]\n"
        "       quillmere-widget-host --render FAMILY --out FILE.png [--at INSTANT] [--preview] [options]\n"
        "\n"
        "Shows desktop widgets, one window per --family (medium when none is given).\n"
        "Drag a widget to move it; click it or press Return to open what it shows.\n"
        "\n"
        "Options:\n"
        "  --family FAMILY      add a widget of this size (may be repeated)\n"
        "  --kind KIND          show only widgets of this kind\n"
        "  --plugin-dir DIR     load widget plug-ins from DIR\n"
        "  --palette light|dark draw with this palette instead of the desktop's\n"
        "  --render FAMILY      draw one entry to a PNG and exit\n"
        "  --out FILE.png       where --render writes\n"
        "  --at INSTANT         draw for this ISO 8601 instant, e.g. 2026-03-02T10:00:00Z\n"
        "  --preview            draw the sample shown before there is real data\n"
        "  --verbose            report every timeline and shown entry on stderr\n"
        "  --help, --version\n");
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
                return std::unexpected(argument + QStringLiteral(" needs a value"));
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
            return std::unexpected(QStringLiteral("unknown family \"%1\" (small, medium, large or extraLarge)").arg(*text));
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
                return std::unexpected(QStringLiteral("\"%1\" is not an ISO 8601 instant with a zone").arg(*text));
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
                return std::unexpected(QStringLiteral("unknown palette \"%1\" (light or dark)").arg(*text));
            }
        } else {
            return std::unexpected(QStringLiteral("unknown argument \"%1\"").arg(argument));
        }
    }

    if (options.help || options.version) {
        return options;
    }
    if (renderFamily) {
        if (outputFile.isEmpty()) {
            return std::unexpected(QStringLiteral("--render needs --out FILE.png"));
        }
        if (!options.families.empty()) {
            return std::unexpected(QStringLiteral("--render draws one family; leave out --family"));
        }
        options.render = RenderRequest{*renderFamily, outputFile, at, preview};
    } else if (!outputFile.isEmpty() || atGiven || preview) {
        return std::unexpected(QStringLiteral("--out, --at and --preview go with --render"));
    }
    if (!options.render && options.families.empty()) {
        options.families.push_back(Family::medium);
    }
    return options;
}

} // namespace quillmere::widgethost
