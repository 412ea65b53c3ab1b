#include "effectfile/texture_loading.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "image/png_loader.h"
#include "image/transparent_bleed.h"
#include "vesk/err_code_exception.h"
#include "vesk/path_utils.h"

namespace orv {

bool LoadEmitterTexture(Emitter& emitter, const std::u16string& path) {
    return LoadTexture(emitter.texture, path);
}

bool LoadTexture(TextureSettings& texture, const std::u16string& path) {
    std::filesystem::path native;
    std::error_code error;
    if (path.empty() || !vesk::ToNativePath(path, native) || !std::filesystem::exists(native, error))
        return false;

    TexturePtr image;
    try {
        image = LoadPng(path);
    } catch (const vesk::CErrCodeException&) {
        return false;
    } catch (const std::bad_alloc&) {
        // A picture too large to hold is treated like any other that does not load.
        return false;
    }
    if (!image) return false;
    if (image->colour) BleedTransparentPixels(*image->colour);
    texture.SetImage(std::move(image));
    texture.SetFileName(path);
    return true;
}

}  // namespace orv
