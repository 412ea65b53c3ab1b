#pragma once

#include <openssl/sha.h>

#include <cstdint>
#include <span>
#include <string>

namespace orv::test {

// Lower-case hexadecimal SHA-256 of the bytes, by OpenSSL, to compare decoded pixels with the
// digests published next to the PNG test suite and frames with their golden digests.
inline std::string Sha256Hex(std::span<const std::uint8_t> bytes) {
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(bytes.data(), bytes.size(), digest);
    std::string hex;
    for (const unsigned char byte : digest) {
        hex += "0123456789abcdef"[byte >> 4];
        hex += "0123456789abcdef"[byte & 15];
    }
    return hex;
}

}  // namespace orv::test
