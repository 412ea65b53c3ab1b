#include "interop/texture_import.h"

#include <stdexcept>
#include <system_error>

#include "image/png_loader.h"
#include "image/png_writer.h"
#include "interop/file_bytes.h"
#include "interop/tiff_decoder.h"
#include "vesk/err_code_exception.h"

namespace orv {
namespace {

std::filesystem::path BareName(std::string_view name) {
    std::string unified(name);
    for (char& c : unified) {
        if (c == '\\') c = '/';
    }
    return std::filesystem::path(unified).filename();
}

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool SameBytes(const std::filesystem::path& path, const Bytes& bytes) {
    try {
        return ReadFileBytes(path, bytes.size()) == bytes;
    } catch (const std::runtime_error&) {
        return false;
    }
}

// The PNG file's bytes for an embedded image, checked by decoding it.
Bytes PngBytes(const Bytes& image, const std::filesystem::path& scratch) {
    TexturePtr texture;
    if (SniffImage(image) == ImageSignature::kTiff) {
        texture = DecodeTiff(image);
        try {
            if (!SavePng(scratch.u16string(), *texture)) throw std::runtime_error("empty image");
        } catch (const vesk::CErrCodeException&) {
            throw std::runtime_error("cannot write \"" + scratch.string() + "\"");
        }
    } else {
        WriteFileBytes(scratch, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
        try {
            texture = LoadPng(scratch.u16string());
        } catch (const vesk::CErrCodeException&) {
            std::error_code error;
            std::filesystem::remove(scratch, error);
            throw std::runtime_error("the embedded PNG image does not decode");
        }
    }
    Bytes png = ReadFileBytes(scratch, kMaxParticleFileBytes);
    std::error_code error;
    std::filesystem::remove(scratch, error);
    return png;
}

}  // namespace

std::optional<std::filesystem::path> FindNamedTexture(std::string_view name,
                                                      const std::filesystem::path& particleFile) {
    if (name.empty()) return std::nullopt;
    const std::filesystem::path folder = particleFile.parent_path();
    const std::filesystem::path asGiven = folder / std::filesystem::path(std::string(name));
    if (Exists(asGiven)) return asGiven;
    const std::filesystem::path bare = folder / BareName(name);
    if (Exists(bare)) return bare;
    return std::nullopt;
}

std::optional<std::filesystem::path> PlaceEmbeddedImage(const Bytes& image, std::string_view name,
                                                        const std::filesystem::path& particleFile,
                                                        ConversionReport& report) {
    if (SniffImage(image) == ImageSignature::kOther) {
        report.Dropped("embedded image that is neither PNG nor TIFF (no texture)");
        return std::nullopt;
    }
    std::filesystem::path stem = BareName(name).stem();
    if (stem.empty()) stem = particleFile.stem();
    const std::filesystem::path folder = particleFile.parent_path();
    const Bytes png = PngBytes(image, folder / (stem.string() + ".orv-embedded.tmp"));
    for (int number = 0; number < 10000; ++number) {
        const std::string suffix =
            number == 0 ? std::string() : std::string(1, '-').append(std::to_string(number));
        const std::filesystem::path candidate = folder / (stem.string() + suffix + ".png");
        if (Exists(candidate)) {
            if (SameBytes(candidate, png)) return candidate;
            continue;
        }
        WriteFileBytes(candidate, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
        return candidate;
    }
    throw std::runtime_error("no free file name for the embedded image beside \"" + particleFile.string() +
                             "\"");
}

}  // namespace orv
