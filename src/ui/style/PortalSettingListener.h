// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QString>
#include <QVariant>

namespace sorvala {

/// Receives the desktop portal's SettingChanged signal and hands it on as `changed`.
class PortalSettingListener final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void changed(const QString& group, const QString& key, const QVariant& value);

public slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value) {
        emit changed(group, key, value.variant());
    }
};

} // namespace sorvala
