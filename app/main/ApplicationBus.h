// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereBus.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <chrono>

namespace quillmere {

class QuillmereAppDelegate;

// The running application on the session bus: the standard
// org.freedesktop.Application interface, which launchers, a second
// `quillmere` and the bus's own activation use to reach it.
namespace applicationBus {
inline constexpr const char* serviceName = QuillmereBus::serviceName;
inline constexpr const char* objectPath = QuillmereBus::objectPath;
inline constexpr const char* interfaceName = "org.freedesktop.Application";

enum class Claim {
    // This process now owns the name and serves the interface.
    owned,
    // A running Quillmere owns it: hand over to it.
    ownedByAnother,
    // No session bus, or it refused: only the state folder lock guards.
    unavailable,
};

// Exports the interface for `delegate` and asks for the name without
// queueing behind its current owner.
Claim claim(QDBusConnection connection, QuillmereAppDelegate& delegate);

// What a launch passes on so that the running instance's window may take
// the focus: the launcher's activation token (Wayland) or startup id (X11),
// read from this process's environment.
QVariantMap platformDataFromEnvironment();

// Asks the running instance to open `urls`, or, with none, to come forward.
// Returns whether it answered in time.
bool handOver(QDBusConnection connection, const QStringList& urls, const QVariantMap& platformData,
              std::chrono::milliseconds timeout = std::chrono::milliseconds(1500));
} // namespace applicationBus

// org.freedesktop.Application for the delegate that is its parent. Platform
// data may carry an activation token, which is kept for the window that the
// call brings forward.
class ApplicationAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit ApplicationAdaptor(QuillmereAppDelegate& delegate);

public slots:
    void Activate(const QVariantMap& platformData);
    void Open(const QStringList& uris, const QVariantMap& platformData);
    void ActivateAction(const QString& actionName, const QVariantList& parameter, const QVariantMap& platformData);

private:
    QuillmereAppDelegate& delegate_;
};

} // namespace quillmere
