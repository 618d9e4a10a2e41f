// SPDX-License-Identifier: MIT
#include "updater/qt/UpdateSource.h"

#include "core/Logger.h"
#include "updater/UpdateCheck.h"

#ifndef SORVALA_UPDATE_FEED_BASE
#define SORVALA_UPDATE_FEED_BASE ""
#endif
#ifndef SORVALA_UPDATE_PUBLIC_KEY
#define SORVALA_UPDATE_PUBLIC_KEY ""
#endif

namespace sorvala {

std::optional<UpdateSource> UpdateSource::from(const QString& base, const QByteArray& base64Key) {
    const QUrl feed(QString::fromStdString(UpdateCheck::feedURL(base.toStdString())), QUrl::StrictMode);
    const auto key = QByteArray::fromBase64(base64Key.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!feed.isValid() || feed.scheme() != QLatin1String("https") || feed.host().isEmpty() || key.size() != 32)
        return std::nullopt;
    UpdateSource source;
    source.feed = feed;
    source.publicKey = key;
    return source;
}

std::optional<UpdateSource> UpdateSource::configured(Logger& log) {
    QString base = QStringLiteral(SORVALA_UPDATE_FEED_BASE);
    QByteArray key = QByteArrayLiteral(SORVALA_UPDATE_PUBLIC_KEY);
    const QByteArray testBase = qgetenv("SORVALA_UPDATE_FEED_BASE");
    const QByteArray testKey = qgetenv("SORVALA_UPDATE_PUBLIC_KEY");
    if (!testBase.isEmpty() && !testKey.isEmpty()) {
        base = QString::fromUtf8(testBase);
        key = testKey;
    } else if (!testBase.isEmpty() || !testKey.isEmpty()) {
        log.log("update source from the environment ignored reason=needs both SORVALA_UPDATE_FEED_BASE and "
                "SORVALA_UPDATE_PUBLIC_KEY");
    }
    if (base.isEmpty() || key.isEmpty())
        return std::nullopt;
    auto source = from(base, key);
    if (!source)
        log.log("update source unusable base=" + base.toStdString());
    return source;
}

QUrl UpdateSource::signatureURL() const {
    return QUrl(feed.toString() + QString::fromUtf8(UpdateCheck::signatureSuffix.data(),
                                                    static_cast<qsizetype>(UpdateCheck::signatureSuffix.size())));
}

} // namespace sorvala
