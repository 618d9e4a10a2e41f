// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace sorvala::FeedSignature {

/// Whether `signature` is a valid Ed25519 signature of exactly `message` under the 32-byte raw
/// `publicKey`. Any malformed input answers false.
bool verify(const QByteArray& message, const QByteArray& signature, const QByteArray& publicKey);

} // namespace sorvala::FeedSignature
