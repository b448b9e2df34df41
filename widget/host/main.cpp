// SPDX-License-Identifier: GPL-3.0-or-later
// quillmere-widget-host: shows desktop widgets from plug-ins, each in its own
// frameless window below the normal windows, and renders single entries to
// PNG files for tests and documentation.

#include "HostCommandLine.h"
#include "PluginCatalogue.h"
#include "Render.h"
#include "WidgetHostBus.h"
#include "WidgetInstance.h"
#include "WidgetWindow.h"
#include "Translations.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDateTime>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

using namespace quillmere::widgethost;

namespace {

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

QString reasonText(WidgetInstance::ReloadReason reason)
{
    switch (reason) {
    case WidgetInstance::ReloadReason::start:
        return QStringLiteral("start");
    case WidgetInstance::ReloadReason::policy:
        return QStringLiteral("policy");
    case WidgetInstance::ReloadReason::request:
        return QStringLiteral("request");
    }
    return {};
}

QtMessageHandler defaultMessageHandler = nullptr;

// The off-screen platform of --render warns about window operations it
// cannot do, which says nothing about the picture.
void quietOffscreenNoise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise()")) ||
        message.contains(QLatin1String("does not support propagateSizeHints"))) {
        return;
    }
    defaultMessageHandler(type, context, message);
}

// Picks the platform before Qt starts. Wayland lets no client keep a window
// below the others or place it, so XWayland is preferred when present.
void choosePlatform(const HostOptions& options)
{
    if (options.render) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        defaultMessageHandler = qInstallMessageHandler(quietOffscreenNoise);
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

std::vector<std::shared_ptr<const WidgetKind>> chosenKinds(const PluginCatalogue& catalogue, const QString& kind)
{
    if (kind.isEmpty()) {
        return catalogue.kinds();
    }
    if (auto found = catalogue.kind(kind)) {
        return {found};
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int index = 1; index < argc; ++index) {
        arguments << QString::fromLocal8Bit(argv[index]);
    }
    auto parsed = parseHostCommandLine(arguments);
    if (!parsed || parsed->help || parsed->version) {
        // Answered on the console before any platform is chosen. The
        // arguments are read again once the translations are in, so that an
        // error is told in the reader's language.
        QCoreApplication console(argc, argv);
        const quillmere::Translations translations{QLocale()};
        parsed = parseHostCommandLine(arguments);
        if (!parsed) {
            err() << "quillmere-widget-host: " << parsed.error() << "\n\n" << usageText();
            return 2;
        }
        if (parsed->help) {
            QTextStream(stdout) << usageText();
            return 0;
        }
        QTextStream(stdout) << "quillmere-widget-host " << QUILLMERE_VERSION << "\nLicense: " << QUILLMERE_LICENSE << "\n";
        return 0;
    }
    const HostOptions& options = *parsed;

    choosePlatform(options);
    QApplication::setApplicationName(QStringLiteral("WidgetHost"));
    QApplication::setOrganizationName(QStringLiteral("Quillmere"));
    QApplication::setDesktopFileName(QStringLiteral("org.quillmere.WidgetHost"));
    QApplication application(argc, argv);
    const quillmere::Translations translations{QLocale()};
    QApplication::setQuitOnLastWindowClosed(true);
    if (options.palette != PaletteChoice::system) {
        QApplication::setPalette(paletteFor(options.palette));
    }

    const QString pluginDirectory =
        options.pluginDirectory.isEmpty() ? PluginCatalogue::defaultDirectory() : options.pluginDirectory;
    PluginCatalogue catalogue(pluginDirectory);
    for (const QString& problem : catalogue.problems()) {
        err() << "quillmere-widget-host: " << problem << "\n";
    }
    const auto kinds = chosenKinds(catalogue, options.kind);
    if (kinds.empty()) {
        err() << "quillmere-widget-host: "
              << (options.kind.isEmpty()
                      ? QCoreApplication::translate("quillmere-widget-host", "no widget found in %1").arg(pluginDirectory)
                      : QCoreApplication::translate("quillmere-widget-host", "no widget %1 found in %2")
                            .arg(options.kind, pluginDirectory))
              << "\n";
        err().flush();
        return 1;
    }

    if (options.render) {
        const TimePoint at = options.render->at.value_or(std::chrono::system_clock::now());
        const auto rendered = renderToFile(*kinds.front(), *options.render, at);
        if (!rendered) {
            err() << "quillmere-widget-host: " << rendered.error() << "\n";
            return 1;
        }
        return 0;
    }

    WidgetHostBus bus;
    switch (bus.registerOn(QDBusConnection::sessionBus())) {
    case WidgetHostBus::Registration::served:
        break;
    case WidgetHostBus::Registration::nameTaken:
        err() << "quillmere-widget-host: "
              << QCoreApplication::translate("quillmere-widget-host",
                                             "another widget host is running on this session (add sizes with "
                                             "--family when starting it)")
              << "\n";
        return 1;
    case WidgetHostBus::Registration::noBus:
        err() << "quillmere-widget-host: "
              << QCoreApplication::translate("quillmere-widget-host",
                                             "no session bus; widgets refresh on their own schedule only")
              << "\n";
        break;
    }

    const WidgetInstance::Clock clock = [] { return std::chrono::system_clock::now(); };
    std::vector<std::unique_ptr<WidgetInstance>> instances;
    std::vector<std::unique_ptr<WidgetWindow>> windows;
    int stackOffset = 0;
    for (const auto& kind : kinds) {
        const Configuration configuration = kind->configuration();
        for (const Family family : options.families) {
            const auto& supported = configuration.supportedFamilies;
            if (std::find(supported.begin(), supported.end(), family) == supported.end()) {
                err() << "quillmere-widget-host: "
                      << QCoreApplication::translate("quillmere-widget-host", "%1 does not come in the %2 size")
                             .arg(configuration.kind, familyText(family))
                      << "\n";
                continue;
            }
            auto instance = std::make_unique<WidgetInstance>(kind, family, clock);
            auto window = std::make_unique<WidgetWindow>(*instance, clock);
            if (options.verbose) {
                const QString name = configuration.kind + QLatin1Char(' ') + familyText(family);
                QObject::connect(instance.get(), &WidgetInstance::timelineRequested, [name](auto reason) {
                    err() << "quillmere-widget-host: " << QDateTime::currentMSecsSinceEpoch() << " " << name
                          << " timeline (" << reasonText(reason) << ")\n";
                    err().flush();
                });
                QObject::connect(instance.get(), &WidgetInstance::entryChanged, window.get(),
                                 [name, window = window.get()] {
                                     err() << "quillmere-widget-host: " << QDateTime::currentMSecsSinceEpoch() << " "
                                           << name << " shows: " << window->accessibleName() << "\n";
                                     err().flush();
                                 });
            }
            QObject::connect(&bus, &WidgetHostBus::reloadRequested, instance.get(),
                             [instance = instance.get(), kind = configuration.kind](const QString& requested) {
                                 if (requested == kind) {
                                     instance->reload(WidgetInstance::ReloadReason::request);
                                 }
                             });
            window->place(stackOffset);
            stackOffset += window->height() + WidgetWindow::gap;
            window->show();
            instance->reload(WidgetInstance::ReloadReason::start);
            instances.push_back(std::move(instance));
            windows.push_back(std::move(window));
        }
    }
    if (windows.empty()) {
        return 1;
    }
    const int status = QApplication::exec();
    // Views are plug-in code: gone before the catalogue.
    windows.clear();
    instances.clear();
    return status;
}
