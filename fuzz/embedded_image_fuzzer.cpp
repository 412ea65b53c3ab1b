// libFuzzer target: embedded image data (base64 text of a gzip or zlib stream holding a TIFF, or
// the bytes themselves) decodes or is refused with a message, within the size limits.
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "interop/embedded_data.h"
#include "interop/tiff_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orv::Bytes bytes(data, data + size);
    try {
        (void)orv::DecodeTiff(bytes);
    } catch (const std::runtime_error&) {
    }
    try {
        const orv::Bytes image =
            orv::Inflate(orv::DecodeBase64(std::string_view(reinterpret_cast<const char*>(data), size)), 1 << 20);
        if (orv::SniffImage(image) == orv::ImageSignature::kTiff) (void)orv::DecodeTiff(image);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
