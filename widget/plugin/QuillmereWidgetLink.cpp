// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereWidgetLink.h"

#include "LocalText.h"

#include "quillmere/QuillmereDesign.h"

#include <QCoreApplication>
#include <QStringList>

namespace quillmere::QuillmereWidgetLink {

std::string fallback()
{
    return url(WidgetRoute::idle);
}

QString accessibilityLabel(const WidgetSnapshot& snapshot)
{
    QStringList parts{QStringLiteral("Quillmere"), translated(titleSource(snapshot.phase))};
    if (snapshot.countdown) {
        const QString time =
            QString::fromStdString(QuillmereDesign::timeText(snapshot.countdown->frozenRemainingSeconds));
        parts << (snapshot.countdown->isPaused
                      ? QCoreApplication::translate("quillmere::QuillmereWidgetLink", "paused at %1")
                      : QCoreApplication::translate("quillmere::QuillmereWidgetLink", "%1 remaining"))
                     .arg(time);
    }
    parts << translated(QuillmereDesign::captionSource(snapshot));
    if (!snapshot.intendedOutcome.empty()) {
        parts << QCoreApplication::translate("quillmere::QuillmereWidgetLink", "Outcome: %1")
                     .arg(QString::fromStdString(snapshot.intendedOutcome));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace quillmere::QuillmereWidgetLink
