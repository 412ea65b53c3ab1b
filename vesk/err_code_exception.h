#pragma once

#include <cstdint>

namespace vesk {

// The error currency of the image codecs: a numeric code with a fixed message table.
// Thrown by value, caught by reference.
class CErrCodeException {
public:
    explicit CErrCodeException(std::uint32_t code) : code(code) {}
    CErrCodeException(const CErrCodeException&) = default;
    CErrCodeException& operator=(const CErrCodeException&) = default;
    virtual ~CErrCodeException() = default;

    // The ASCII message for the code; every code of 7 or more is "Unknow error.".
    virtual const char* Message() const;

    std::uint32_t code;
};

}  // namespace vesk
