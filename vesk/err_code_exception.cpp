#include "vesk/err_code_exception.h"

namespace vesk {

const char* CErrCodeException::Message() const {
    static const char* const kMessages[] = {
        "Success.",
        "No support.",
        "Cannot open files.",
        "File read error.",
        "File seek error.",
        "No support BMP format.",
        "No support compression BMP format.",
    };
    constexpr std::uint32_t kKnown = sizeof(kMessages) / sizeof(kMessages[0]);
    return code < kKnown ? kMessages[code] : "Unknow error.";
}

}  // namespace vesk
