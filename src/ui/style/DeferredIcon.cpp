// SPDX-License-Identifier: MIT
#include "ui/style/DeferredIcon.h"

#include <QIconEngine>
#include <QPainter>

#include <optional>

namespace sorvala {

namespace {

/// Stands in for the icon of a file until it is first asked for pixels or sizes.
class DeferredIconEngine final : public QIconEngine {
public:
    explicit DeferredIconEngine(QString fileName) : m_fileName(std::move(fileName)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return loaded().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return loaded().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return loaded().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return loaded().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("sorvala-deferred"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(m_fileName); }

private:
    const QIcon& loaded() {
        if (!m_icon)
            m_icon = QIcon(m_fileName);
        return *m_icon;
    }

    QString m_fileName;
    std::optional<QIcon> m_icon;
};

} // namespace

QIcon deferredIcon(const QString& fileName) {
    return QIcon(new DeferredIconEngine(fileName));
}

} // namespace sorvala
