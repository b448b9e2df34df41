// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The desktop's settings portal as far as Quillmere reads it, on the test's
// private bus and from a connection of its own, as the portal process would
// be: it answers ReadOne, or only the older Read, whose value comes wrapped
// in one variant more, and announces changes with SettingChanged.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>

#include <map>
#include <utility>

namespace quillmere::fakes {

class FakeSettingsPortal final : public QDBusVirtualObject {
public:
    enum class Methods { readOne, onlyOlderRead };
    using Values = std::map<std::pair<QString, QString>, QVariant>;

    FakeSettingsPortal(Methods methods, Values values, const char* connectionName = "fake-settings-portal")
        : methods_(methods), values_(std::move(values)),
          connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QLatin1String(connectionName)))
    {
        registered_ = connection_.registerVirtualObject(QLatin1String(path), this) &&
                      connection_.registerService(QLatin1String(service));
    }

    ~FakeSettingsPortal() override
    {
        connection_.unregisterService(QLatin1String(service));
        connection_.unregisterObject(QLatin1String(path));
        QDBusConnection::disconnectFromBus(connection_.name());
    }

    // Whether the portal's name and object are on the bus.
    bool registered() const { return registered_; }
    // How many reads it answered, by method name.
    std::map<QString, int> reads;

    // The user changes a setting: the portal says so.
    bool change(const QString& group, const QString& key, const QVariant& value)
    {
        values_[{group, key}] = value;
        QDBusMessage signal =
            QDBusMessage::createSignal(QLatin1String(path), QLatin1String(interface), QStringLiteral("SettingChanged"));
        signal << group << key << QVariant::fromValue(QDBusVariant(value));
        return connection_.send(signal);
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const bool readOne = message.member() == QLatin1String("ReadOne") && methods_ == Methods::readOne;
        const bool olderRead = message.member() == QLatin1String("Read");
        if (message.interface() != QLatin1String(interface) || !(readOne || olderRead) ||
            message.arguments().size() != 2) {
            connection.send(message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method.")));
            return true;
        }
        ++reads[message.member()];
        const auto found = values_.find({message.arguments()[0].toString(), message.arguments()[1].toString()});
        if (found == values_.end()) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                                                     QStringLiteral("Requested setting not found")));
            return true;
        }
        const QVariant value = QVariant::fromValue(QDBusVariant(found->second));
        connection.send(message.createReply(readOne ? value : QVariant::fromValue(QDBusVariant(value))));
        return true;
    }

    static constexpr const char* service = "org.freedesktop.portal.Desktop";
    static constexpr const char* path = "/org/freedesktop/portal/desktop";
    static constexpr const char* interface = "org.freedesktop.portal.Settings";

private:
    Methods methods_;
    Values values_;
    QDBusConnection connection_;
    bool registered_ = false;
};

} // namespace quillmere::fakes
