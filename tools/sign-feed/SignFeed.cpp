// SPDX-License-Identifier: MIT
// Signs the update feed with the release's Ed25519 private key (a PEM file), writing the detached
// signature that the updater checks, or prints the key's public half in the form the build takes.
//
//   sorvala-sign-feed --key release.pem cast.json      writes cast.json.sig
//   sorvala-sign-feed --key release.pem --public-key   prints the base64 public key

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;

int usage() {
    std::cerr << "usage: sorvala-sign-feed --key PRIVATE.pem FEED.json\n"
                 "       sorvala-sign-feed --key PRIVATE.pem --public-key\n"
                 "Writes FEED.json.sig, the detached Ed25519 signature of the feed's exact bytes, or\n"
                 "prints the public key for -DSORVALA_UPDATE_PUBLIC_KEY.\n";
    return 2;
}

Key readKey(const std::string& path) {
    Key key(nullptr, &EVP_PKEY_free);
    if (FILE* file = std::fopen(path.c_str(), "r")) {
        key.reset(PEM_read_PrivateKey(file, nullptr, nullptr, nullptr));
        std::fclose(file);
    }
    if (key && EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_ED25519)
        key.reset();
    return key;
}

std::string base64(const std::vector<unsigned char>& bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(),
                                       static_cast<int>(bytes.size()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

int printPublicKey(EVP_PKEY* key) {
    std::vector<unsigned char> raw(32);
    std::size_t length = raw.size();
    if (EVP_PKEY_get_raw_public_key(key, raw.data(), &length) != 1 || length != 32) {
        std::cerr << "sorvala-sign-feed: cannot read the public key\n";
        return 1;
    }
    std::cout << base64(raw) << "\n";
    return 0;
}

int sign(EVP_PKEY* key, const std::string& feedPath) {
    std::ifstream feed(feedPath, std::ios::binary);
    if (!feed) {
        std::cerr << "sorvala-sign-feed: cannot read " << feedPath << "\n";
        return 1;
    }
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(feed)), std::istreambuf_iterator<char>());
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    std::vector<unsigned char> signature(64);
    std::size_t length = signature.size();
    if (!context || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key) != 1 ||
        EVP_DigestSign(context.get(), signature.data(), &length, bytes.data(), bytes.size()) != 1 || length != 64) {
        std::cerr << "sorvala-sign-feed: signing failed\n";
        return 1;
    }
    // Written beside the feed under a temporary name first: a half-written signature never exists.
    const std::string target = feedPath + ".sig";
    const std::string temporary = target + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(signature.data()), static_cast<std::streamsize>(length));
    out.close();
    if (!out || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        std::cerr << "sorvala-sign-feed: cannot write " << target << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() != 3 || args[0] != "--key")
        return usage();
    const Key key = readKey(args[1]);
    if (!key) {
        std::cerr << "sorvala-sign-feed: " << args[1] << " is not an Ed25519 private key in PEM form\n";
        return 1;
    }
    return args[2] == "--public-key" ? printPublicKey(key.get()) : sign(key.get(), args[2]);
}
