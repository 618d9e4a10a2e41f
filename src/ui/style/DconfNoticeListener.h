// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace sorvala {

/// Receives dconf's Notify signal (a path prefix and the changed paths below it) and hands it on
/// as `notified`.
class DconfNoticeListener final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void notified(const QString& prefix, const QStringList& keys);

public slots:
    void notify(const QString& prefix, const QStringList& keys, const QString& tag) {
        Q_UNUSED(tag)
        emit notified(prefix, keys);
    }
};

} // namespace sorvala
