// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace sorvala {

class Logger;

/// HTTP(S) transfers and the Ed25519 check of what they bring. Qt Network and OpenSSL live in
/// the network module, loaded at the first update check or issue report, so a program that has
/// done neither maps neither.
class NetworkTransport {
public:
    struct Request {
        QUrl url;
        int timeoutMs = 60000;         ///< a transfer that stalls this long fails
        QByteArray extraCaPem;         ///< PEM authorities trusted besides the system's
        bool sameOriginRedirects = false;
        QByteArray contentType;        ///< of the body sent; empty for a GET
        qint64 limitBytes = -1;        ///< a body growing past it is aborted; -1: no limit
    };

    /// How a transfer ended.
    struct Outcome {
        int error = 0;                 ///< QNetworkReply::NetworkError, 0 for none
        QString errorText;
        std::optional<int> httpStatus; ///< none when no answer came
        /// No error and a 2xx answer.
        bool succeeded() const { return error == 0 && httpStatus && *httpStatus >= 200 && *httpStatus <= 299; }
    };

    /// What a transfer calls, on the thread that started it, while `context` lives.
    struct Callbacks {
        std::function<void(const QByteArray& chunk)> received; ///< each piece of the body in turn
        std::function<void(const Outcome& outcome)> finished;  ///< once, after the last piece
    };

    /// A transfer in flight; once it has ended, `abort` does nothing.
    class Transfer {
    public:
        Transfer() = default;
        explicit Transfer(QObject* reply) : m_reply(reply) {}
        /// Ends the transfer now; `finished` still runs, with an error.
        void abort() {
            if (m_reply)
                QMetaObject::invokeMethod(m_reply, "abort");
        }

    private:
        QPointer<QObject> m_reply;
    };

    virtual ~NetworkTransport() = default;
    /// Starts a GET; the transfer is aborted when `context` goes.
    virtual Transfer get(const Request& request, QObject* context, Callbacks callbacks) = 0;
    /// Starts a POST of `body`, likewise.
    virtual Transfer post(const Request& request, const QByteArray& body, QObject* context, Callbacks callbacks) = 0;
    /// Whether `signature` is a valid Ed25519 signature of exactly `message` under the 32-byte
    /// raw `publicKey`. Any malformed input answers false.
    virtual bool verifySignature(const QByteArray& message, const QByteArray& signature,
                                 const QByteArray& publicKey) = 0;

    /// The network module's transport, loaded on the first call; null when the module cannot be
    /// loaded (said in `log`).
    static NetworkTransport* load(Logger* log);
};

} // namespace sorvala
