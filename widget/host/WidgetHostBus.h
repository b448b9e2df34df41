// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace quillmere::widgethost {

// The host's face on the session bus: applications ask it to reload the
// timelines of a widget kind after they publish new data.
class WidgetHostBus : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quillmere.WidgetHost")

public:
    static constexpr const char* serviceName = "org.quillmere.WidgetHost";
    static constexpr const char* objectPath = "/org/quillmere/WidgetHost";

    enum class Registration { served, nameTaken, noBus };

    explicit WidgetHostBus(QObject* parent = nullptr);
    ~WidgetHostBus() override;

    // Serves the object and takes the service name on `connection`.
    Registration registerOn(QDBusConnection connection);

public slots:
    Q_NOREPLY void ReloadTimelines(const QString& kind);

signals:
    void reloadRequested(const QString& kind);

private:
    QString connectionName_;
    bool ownsName_ = false;
};

} // namespace quillmere::widgethost
