// SPDX-License-Identifier: GPL-3.0-or-later
#include "Render.h"

#include "WidgetWindow.h"

#include <QApplication>
#include <QSettings>
#include <QStyle>

namespace quillmere::widgethost {

QPalette paletteFor(PaletteChoice choice)
{
    switch (choice) {
    case PaletteChoice::system:
        return QApplication::palette();
    case PaletteChoice::light:
        return QApplication::style()->standardPalette();
    case PaletteChoice::dark: {
        QPalette palette;
        const QColor text(0xE8, 0xE8, 0xEA);
        const QColor dimmed(0x70, 0x71, 0x76);
        palette.setColor(QPalette::Window, QColor(0x1E, 0x1F, 0x22));
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Base, QColor(0x2A, 0x2B, 0x2F));
        palette.setColor(QPalette::AlternateBase, QColor(0x33, 0x34, 0x38));
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::Button, QColor(0x30, 0x31, 0x35));
        palette.setColor(QPalette::ButtonText, text);
        palette.setColor(QPalette::Highlight, QColor(0x3D, 0x7E, 0xFF));
        palette.setColor(QPalette::HighlightedText, Qt::white);
        palette.setColor(QPalette::PlaceholderText, QColor(0x8A, 0x8B, 0x90));
        palette.setColor(QPalette::ToolTipBase, QColor(0x2A, 0x2B, 0x2F));
        palette.setColor(QPalette::ToolTipText, text);
        palette.setColor(QPalette::Disabled, QPalette::WindowText, dimmed);
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, dimmed);
        palette.setColor(QPalette::Disabled, QPalette::Text, dimmed);
        return palette;
    }
    }
    return QApplication::palette();
}

std::expected<QImage, QString> renderEntry(const WidgetKind& kind, const RenderRequest& request, TimePoint now)
{
    const Configuration configuration = kind.configuration();
    if (std::find(configuration.supportedFamilies.begin(), configuration.supportedFamilies.end(), request.family) ==
        configuration.supportedFamilies.end()) {
        return std::unexpected(QCoreApplication::translate("quillmere-widget-host", "%1 does not come in the %2 size")
                                   .arg(configuration.kind, familyText(request.family)));
    }

    const WidgetInstance::Clock clock = [now] { return now; };
    WidgetInstance instance(std::shared_ptr<const WidgetKind>(&kind, [](const WidgetKind*) {}), request.family, clock);
    Context context = instance.context();
    context.isPreview = request.preview;
    EntryPointer entry;
    kind.getSnapshot(context, [&entry](EntryPointer answer) { entry = std::move(answer); });
    if (!entry) {
        return std::unexpected(
            QCoreApplication::translate("quillmere-widget-host", "%1 gave no entry to draw").arg(configuration.kind));
    }

    // A rendering never remembers a place: the settings stay untouched.
    WidgetWindow window(instance, clock, [](const QUrl&) {}, [] {
        return std::make_unique<QSettings>(QString(), QSettings::IniFormat);
    });
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    instance.present(entry);
    window.tick();
    QApplication::processEvents();
    return window.grab().toImage();
}

std::expected<void, QString> renderToFile(const WidgetKind& kind, const RenderRequest& request, TimePoint now)
{
    auto image = renderEntry(kind, request, now);
    if (!image) {
        return std::unexpected(image.error());
    }
    if (!image->save(request.outputFile, "PNG")) {
        return std::unexpected(
            QCoreApplication::translate("quillmere-widget-host", "%1: could not be written").arg(request.outputFile));
    }
    return {};
}

} // namespace quillmere::widgethost
