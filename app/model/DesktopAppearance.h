// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>

class QDBusPendingCallWatcher;
class QDBusVariant;

namespace quillmere {

// One of the portal's settings that Quillmere follows.
enum class AppearanceSetting;

// What the desktop asks of every application's look, as the freedesktop
// settings portal tells it: the preferred colour scheme, GNOME's text scale,
// and whether things should move less (GNOME's or KDE's animation setting, or
// the portal's own reduced-motion key). Read once and followed as the portal
// reports changes. Without a portal (a desktop that has none, a container, a
// run without a bus) the defaults hold: no preference, a scale of 1, motion
// allowed. Never waits on the bus.
class DesktopAppearance final : public QObject {
    Q_OBJECT
    Q_PROPERTY(ColourScheme colourScheme READ colourScheme NOTIFY colourSchemeChanged)
    Q_PROPERTY(double textScale READ textScale NOTIFY textScaleChanged)
    Q_PROPERTY(bool reducedMotion READ reducedMotion NOTIFY reducedMotionChanged)

public:
    enum class ColourScheme { noPreference, dark, light };
    Q_ENUM(ColourScheme)

    // Asks the portal on `sessionBus` straight away; a bus that is not
    // connected leaves the defaults, settled at once.
    explicit DesktopAppearance(QDBusConnection sessionBus, QObject* parent = nullptr);

    ColourScheme colourScheme() const { return colourScheme_; }
    // The factor the desktop enlarges text by; 1 when it does not.
    double textScale() const { return textScale_; }
    bool reducedMotion() const { return reducedMotion_; }

    // Whether the first reading is over: every setting answered, or known
    // not to come. Until then the values are the defaults, or what has
    // arrived so far.
    bool isSettled() const { return pendingReads_ == 0; }

signals:
    void colourSchemeChanged(quillmere::DesktopAppearance::ColourScheme scheme);
    void textScaleChanged(double scale);
    void reducedMotionChanged(bool reduced);
    // The first reading is over.
    void settled();

private slots:
    void handleSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    // `olderMethod`: Read, for portals from before ReadOne.
    void read(AppearanceSetting setting, bool olderMethod);
    void takeAnswer(AppearanceSetting setting, bool olderMethod, QDBusPendingCallWatcher* answer);
    void take(AppearanceSetting setting, const QVariant& value);
    void finishRead();
    void setColourScheme(ColourScheme scheme);
    void setTextScale(double scale);
    void setReducedMotion(bool reduced);

    QDBusConnection bus_;
    ColourScheme colourScheme_ = ColourScheme::noPreference;
    double textScale_ = 1.0;
    bool reducedMotion_ = false;
    // The three sources of reduced motion, any one of which asks for it.
    bool portalReducesMotion_ = false;
    bool gnomeAnimates_ = true;
    bool kdeAnimates_ = true;
    int pendingReads_ = 0;
    bool missingPortalLogged_ = false;
};

} // namespace quillmere
