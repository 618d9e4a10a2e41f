// SPDX-License-Identifier: MIT
// The network module: everything of ours that calls Qt Network or OpenSSL.
#include "platform/network/NetworkTransport.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>

#include <openssl/evp.h>

#include <memory>

namespace sorvala {

namespace {

class QtNetworkTransport final : public NetworkTransport {
public:
    Transfer get(const Request& request, QObject* context, Callbacks callbacks) override {
        return follow(network().get(qtRequest(request)), request, context, std::move(callbacks));
    }

    Transfer post(const Request& request, const QByteArray& body, QObject* context, Callbacks callbacks) override {
        return follow(network().post(qtRequest(request), body), request, context, std::move(callbacks));
    }

    bool verifySignature(const QByteArray& message, const QByteArray& signature,
                         const QByteArray& publicKey) override {
        if (publicKey.size() != 32 || signature.size() != 64)
            return false;
        const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
            EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr,
                                        reinterpret_cast<const unsigned char*>(publicKey.constData()), 32),
            &EVP_PKEY_free);
        const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> verifier(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
        if (!key || !verifier || EVP_DigestVerifyInit(verifier.get(), nullptr, nullptr, nullptr, key.get()) != 1)
            return false;
        return EVP_DigestVerify(verifier.get(), reinterpret_cast<const unsigned char*>(signature.constData()),
                                static_cast<size_t>(signature.size()),
                                reinterpret_cast<const unsigned char*>(message.constData()),
                                static_cast<size_t>(message.size())) == 1;
    }

private:
    // Made on the first transfer, on the thread transfers start from (the main thread), and
    // gone with the application object rather than at exit.
    QNetworkAccessManager& network() {
        if (!m_network)
            m_network = new QNetworkAccessManager(QCoreApplication::instance());
        return *m_network;
    }

    static QNetworkRequest qtRequest(const Request& request) {
        QNetworkRequest made(request.url);
        if (request.sameOriginRedirects)
            made.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
        made.setTransferTimeout(request.timeoutMs);
        if (!request.contentType.isEmpty())
            made.setHeader(QNetworkRequest::ContentTypeHeader, QString::fromLatin1(request.contentType));
        if (!request.extraCaPem.isEmpty()) {
            auto tls = QSslConfiguration::defaultConfiguration();
            tls.addCaCertificates(QSslCertificate::fromData(request.extraCaPem));
            made.setSslConfiguration(tls);
        }
        return made;
    }

    static Transfer follow(QNetworkReply* reply, const Request& request, QObject* context, Callbacks callbacks) {
        // The reply outlives neither its end nor the one who asked for it, and calls nobody back
        // once that one is on its way out.
        QObject::connect(context, &QObject::destroyed, reply, [reply] {
            reply->disconnect();
            reply->abort();
            reply->deleteLater();
        });
        QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
        if (request.limitBytes >= 0) {
            const qint64 limit = request.limitBytes;
            QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, limit](qint64 received, qint64) {
                if (received > limit)
                    reply->abort();
            });
        }
        auto shared = std::make_shared<Callbacks>(std::move(callbacks));
        QObject::connect(reply, &QNetworkReply::readyRead, context, [reply, shared] {
            if (shared->received)
                shared->received(reply->readAll());
        });
        QObject::connect(reply, &QNetworkReply::finished, context, [reply, shared] {
            if (shared->received && reply->bytesAvailable() > 0)
                shared->received(reply->readAll());
            Outcome outcome;
            outcome.error = static_cast<int>(reply->error());
            outcome.errorText = reply->errorString();
            const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
            if (status.isValid())
                outcome.httpStatus = status.toInt();
            if (shared->finished)
                shared->finished(outcome);
        });
        return Transfer(reply);
    }

    QPointer<QNetworkAccessManager> m_network;
};

} // namespace

} // namespace sorvala

extern "C" Q_DECL_EXPORT void* sorvala_module() {
    static sorvala::QtNetworkTransport transport;
    return static_cast<sorvala::NetworkTransport*>(&transport);
}
