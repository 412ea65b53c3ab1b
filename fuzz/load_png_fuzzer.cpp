// libFuzzer entry for the PNG decoder. The decoder reads from a file, so every input is written
// to a private scratch file first; any outcome other than a texture or a CErrCodeException with
// code 1 is a crash that libFuzzer reports.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "image/png_loader.h"
#include "vesk/err_code_exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("orv-png-fuzz-" + std::to_string(::getpid()) + ".png");
    std::FILE* file = std::fopen(scratch.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        const orv::TexturePtr texture = orv::LoadPng(scratch.u16string());
        if (!texture || !texture->colour || texture->Width() == 0) __builtin_trap();
    } catch (const vesk::CErrCodeException& error) {
        if (error.code != 1) __builtin_trap();
    }
    return 0;
}
