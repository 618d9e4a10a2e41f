// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QUrl>

#include <optional>

namespace sorvala {

class Logger;

/// Where updates come from and who signs them.
struct UpdateSource {
    QUrl feed; ///< https://…/api/cast.json; its signature is the same address + ".sig"
    QByteArray publicKey; ///< the signer's raw 32-byte Ed25519 key
    QByteArray extraCaPem; ///< PEM authorities trusted besides the system's (tests only)
    int timeoutMs = 60000; ///< a transfer that stalls this long fails

    /// The build's feed base and key (both empty by default: no updates). The pair
    /// SORVALA_UPDATE_FEED_BASE and SORVALA_UPDATE_PUBLIC_KEY replaces them only when both are set,
    /// so the address cannot be moved without the key that must sign it. Nullopt, logged once,
    /// when either is missing or unusable.
    static std::optional<UpdateSource> configured(Logger& log);
    /// A source from a base address and a base64 key; nullopt when the address is not https or
    /// the key is not 32 bytes.
    static std::optional<UpdateSource> from(const QString& base, const QByteArray& base64Key);

    QUrl signatureURL() const;
};

} // namespace sorvala
