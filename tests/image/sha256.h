#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::test {

// Lower-case hexadecimal SHA-256 of the bytes (FIPS 180-4), to compare decoded pixels with the
// digests published next to the PNG test suite.
std::string Sha256Hex(const std::vector<std::uint8_t>& bytes);

}  // namespace orv::test
