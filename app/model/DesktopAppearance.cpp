// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopAppearance.h"

#include "SystemLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <cmath>
#include <optional>
#include <utility>

namespace quillmere {

enum class AppearanceSetting { colourScheme, reducedMotion, textScale, gnomeAnimations, kdeAnimationFactor };

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");

constexpr AppearanceSetting everySetting[] = {
    AppearanceSetting::colourScheme,    AppearanceSetting::reducedMotion,      AppearanceSetting::textScale,
    AppearanceSetting::gnomeAnimations, AppearanceSetting::kdeAnimationFactor,
};

struct SettingName {
    QString group;
    QString key;
};

SettingName nameOf(AppearanceSetting setting)
{
    const QString freedesktop = QStringLiteral("org.freedesktop.appearance");
    const QString gnome = QStringLiteral("org.gnome.desktop.interface");
    switch (setting) {
    case AppearanceSetting::colourScheme: return {freedesktop, QStringLiteral("color-scheme")};
    case AppearanceSetting::reducedMotion: return {freedesktop, QStringLiteral("reduced-motion")};
    case AppearanceSetting::textScale: return {gnome, QStringLiteral("text-scaling-factor")};
    case AppearanceSetting::gnomeAnimations: return {gnome, QStringLiteral("enable-animations")};
    case AppearanceSetting::kdeAnimationFactor:
        return {QStringLiteral("org.kde.kdeglobals.KDE"), QStringLiteral("AnimationDurationFactor")};
    }
    return {};
}

std::optional<AppearanceSetting> settingNamed(const QString& group, const QString& key)
{
    for (const AppearanceSetting setting : everySetting) {
        const SettingName name = nameOf(setting);
        if (name.group == group && name.key == key) {
            return setting;
        }
    }
    return std::nullopt;
}

// A value without the variants around it: ReadOne and the change signal
// wrap it in one, the older Read in two.
QVariant unwrapped(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
        value = qvariant_cast<QDBusVariant>(value).variant();
    }
    return value;
}

// Numbers and switches as the portals send them: typed from GNOME's
// settings, as text from KDE's configuration files.
std::optional<double> number(const QVariant& value)
{
    bool ok = false;
    const double result = value.toDouble(&ok);
    return ok && std::isfinite(result) ? std::optional(result) : std::nullopt;
}

std::optional<bool> truth(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<bool>()) {
        return value.toBool();
    }
    const QString text = value.toString();
    if (text == QLatin1String("true") || text == QLatin1String("false")) {
        return text == QLatin1String("true");
    }
    return std::nullopt;
}

bool isMissingMethod(const QDBusError& error)
{
    return error.type() == QDBusError::UnknownMethod;
}

// The portal runs but has no such setting (another desktop's, say).
bool isUnknownSetting(const QDBusError& error)
{
    return error.name() == QLatin1String("org.freedesktop.portal.Error.NotFound");
}

} // namespace

DesktopAppearance::DesktopAppearance(QDBusConnection sessionBus, QObject* parent)
    : QObject(parent), bus_(std::move(sessionBus))
{
    if (!bus_.isConnected()) {
        return;
    }
    // Qt looks the slot's parameter types up by name, and knows
    // QDBusVariant's only once it is registered; unregistered, the connection
    // fails without a word.
    qRegisterMetaType<QDBusVariant>();
    // Qt matches the signal's sender against the owner of the portal's name,
    // followed as it changes.
    if (!bus_.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                      SLOT(handleSettingChanged(QString, QString, QDBusVariant)))) {
        writeSystemLog("Quillmere: cannot follow the desktop's settings portal (" + logText(bus_.lastError()) +
                       "); changes of its appearance are seen only at the next start");
    }
    for (const AppearanceSetting setting : everySetting) {
        read(setting, false);
    }
}

void DesktopAppearance::read(AppearanceSetting setting, bool olderMethod)
{
    const SettingName name = nameOf(setting);
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                       olderMethod ? QStringLiteral("Read")
                                                                   : QStringLiteral("ReadOne"));
    call << name.group << name.key;
    ++pendingReads_;
    auto* answer = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this, setting, olderMethod](QDBusPendingCallWatcher* watcher) {
                takeAnswer(setting, olderMethod, watcher);
            });
}

void DesktopAppearance::takeAnswer(AppearanceSetting setting, bool olderMethod, QDBusPendingCallWatcher* answer)
{
    answer->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *answer;
    if (!reply.isError()) {
        take(setting, reply.argumentAt(0));
    } else if (!olderMethod && isMissingMethod(reply.error())) {
        // A portal from before ReadOne: the same question the older way,
        // counted before this one is done so that the reading does not
        // settle in between.
        read(setting, true);
    } else if (!isUnknownSetting(reply.error()) && !std::exchange(missingPortalLogged_, true)) {
        writeSystemLog("Quillmere: the desktop's settings portal does not answer (" + logText(reply.error()) +
                       "); its dark preference, text scale and reduced motion are not followed");
    }
    finishRead();
}

void DesktopAppearance::finishRead()
{
    if (--pendingReads_ == 0) {
        emit settled();
    }
}

void DesktopAppearance::handleSettingChanged(const QString& group, const QString& key, const QDBusVariant& value)
{
    if (const std::optional<AppearanceSetting> setting = settingNamed(group, key)) {
        take(*setting, value.variant());
    }
}

void DesktopAppearance::take(AppearanceSetting setting, const QVariant& answer)
{
    const QVariant value = unwrapped(answer);
    switch (setting) {
    case AppearanceSetting::colourScheme: {
        bool ok = false;
        const uint scheme = value.toUInt(&ok);
        // Values the portal may add later count as no preference.
        setColourScheme(!ok              ? ColourScheme::noPreference
                        : scheme == 1    ? ColourScheme::dark
                        : scheme == 2    ? ColourScheme::light
                                         : ColourScheme::noPreference);
        return;
    }
    case AppearanceSetting::reducedMotion: {
        bool ok = false;
        portalReducesMotion_ = value.toUInt(&ok) == 1 && ok;
        break;
    }
    case AppearanceSetting::textScale: {
        // GNOME offers 0.5 to 3; anything else is not a scale to apply.
        const std::optional<double> scale = number(value);
        setTextScale(scale && *scale >= 0.5 && *scale <= 3.0 ? *scale : 1.0);
        return;
    }
    case AppearanceSetting::gnomeAnimations: gnomeAnimates_ = truth(value).value_or(true); break;
    case AppearanceSetting::kdeAnimationFactor: kdeAnimates_ = number(value).value_or(1.0) != 0.0; break;
    }
    setReducedMotion(portalReducesMotion_ || !gnomeAnimates_ || !kdeAnimates_);
}

void DesktopAppearance::setColourScheme(ColourScheme scheme)
{
    if (colourScheme_ == scheme) {
        return;
    }
    colourScheme_ = scheme;
    emit colourSchemeChanged(scheme);
}

void DesktopAppearance::setTextScale(double scale)
{
    if (textScale_ == scale) {
        return;
    }
    textScale_ = scale;
    emit textScaleChanged(scale);
}

void DesktopAppearance::setReducedMotion(bool reduced)
{
    if (reducedMotion_ == reduced) {
        return;
    }
    reducedMotion_ = reduced;
    emit reducedMotionChanged(reduced);
}

} // namespace quillmere
