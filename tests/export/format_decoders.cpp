#include "tests/export/format_decoders.h"

#include <gif_lib.h>
#include <png.h>
#include <webp/demux.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "tests/support/temp_folder.h"

namespace orv::test {
namespace {

std::uint32_t BigEndian32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 | bytes[3];
}

std::uint16_t BigEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

// Memory order B, G, R, A is the word 0xAARRGGBB on this little-endian machine.
Image FromBgra(std::uint32_t width, std::uint32_t height, const std::uint8_t* bytes) {
    Image image{width, height, std::vector<std::uint32_t>(std::size_t{width} * height)};
    std::memcpy(image.pixels.data(), bytes, image.pixels.size() * 4);
    return image;
}

int PaethPredictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Inflates one frame's data and undoes every filter type, giving RGBA rows.
bool Unfilter(const std::vector<std::uint8_t>& deflated, std::uint32_t width, std::uint32_t height, Image& image) {
    const std::size_t stride = std::size_t{width} * 4;
    std::vector<std::uint8_t> raw((stride + 1) * height);
    uLongf size = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &size, deflated.data(), static_cast<uLong>(deflated.size())) != Z_OK ||
        size != raw.size()) {
        return false;
    }
    std::vector<std::uint8_t> previous(stride, 0), current(stride);
    image = {width, height, {}};
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t type = raw[y * (stride + 1)];
        const std::uint8_t* row = &raw[y * (stride + 1) + 1];
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= 4 ? current[i - 4] : 0, b = previous[i], c = i >= 4 ? previous[i - 4] : 0;
            int predicted = 0;
            switch (type) {
                case 0: predicted = 0; break;
                case 1: predicted = a; break;
                case 2: predicted = b; break;
                case 3: predicted = (a + b) / 2; break;
                case 4: predicted = PaethPredictor(a, b, c); break;
                default: return false;
            }
            current[i] = static_cast<std::uint8_t>(row[i] + predicted);
        }
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &current[x * 4];
            image.pixels.push_back(std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2]);
        }
        previous.swap(current);
    }
    return true;
}

}  // namespace

Image ReadPng(const std::filesystem::path& file) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, file.c_str())) return {};
    png.format = PNG_FORMAT_BGRA;  // 8-bit sRGB: straight alpha
    std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) return {};
    return FromBgra(png.width, png.height, bytes.data());
}

AnimatedPng ReadAnimatedPng(const std::filesystem::path& file) {
    AnimatedPng result;
    const std::string text = ReadFileBytes(file);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (text.size() < 8 || std::memcmp(bytes, kSignature, 8) != 0) {
        result.error = "no PNG signature";
        return result;
    }
    std::uint32_t width = 0, height = 0, nextSequence = 0;
    std::vector<std::vector<std::uint8_t>> data;
    bool ended = false, sawData = false;
    for (std::size_t at = 8; at < text.size() && result.error.empty();) {
        if (text.size() - at < 12) {
            result.error = "truncated chunk";
            break;
        }
        const std::uint32_t length = BigEndian32(bytes + at);
        const std::string type(text, at + 4, 4);
        if (text.size() - at - 12 < length) {
            result.error = "truncated " + type;
            break;
        }
        const std::uint8_t* body = bytes + at + 8;
        if (crc32(crc32(0, bytes + at + 4, 4), body, length) != BigEndian32(body + length)) {
            result.error = "bad CRC in " + type;
        }
        const auto sequence = [&] {
            if (length < 4 || BigEndian32(body) != nextSequence) {
                result.error = "sequence number out of order in " + type;
            }
            ++nextSequence;
        };
        if (ended) {
            result.error = "chunk after IEND";
        } else if (type == "IHDR") {
            width = BigEndian32(body);
            height = BigEndian32(body + 4);
            if (body[8] != 8 || body[9] != 6 || body[12] != 0) result.error = "not 8-bit RGBA without interlace";
        } else if (type == "acTL") {
            result.frameCount = BigEndian32(body);
            result.plays = BigEndian32(body + 4);
        } else if (type == "fcTL") {
            sequence();
            if (length != 26) result.error = "fcTL of " + std::to_string(length) + " bytes";
            FrameControl control;
            control.width = BigEndian32(body + 4);
            control.height = BigEndian32(body + 8);
            control.x = BigEndian32(body + 12);
            control.y = BigEndian32(body + 16);
            control.delayNumerator = BigEndian16(body + 20);
            control.delayDenominator = BigEndian16(body + 22);
            control.dispose = body[24];
            control.blend = body[25];
            result.controls.push_back(control);
            data.emplace_back();
            if (data.size() == 1 && !sawData) result.defaultImageIsFirstFrame = true;
        } else if (type == "IDAT") {
            sawData = true;
            if (data.size() == 1) data.back().insert(data.back().end(), body, body + length);
        } else if (type == "fdAT") {
            sequence();
            if (data.size() < 2) result.error = "fdAT before its fcTL";
            else data.back().insert(data.back().end(), body + 4, body + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    if (result.error.empty() && !ended) result.error = "no IEND";
    if (result.error.empty() && result.frameCount != data.size()) result.error = "acTL counts other frames";
    for (std::size_t i = 0; i < data.size() && result.error.empty(); ++i) {
        Image frame;
        if (!Unfilter(data[i], result.controls[i].width, result.controls[i].height, frame)) {
            result.error = "frame " + std::to_string(i) + " does not inflate";
        }
        result.frames.push_back(std::move(frame));
    }
    if (result.error.empty() && (width == 0 || height == 0)) result.error = "no IHDR";
    return result;
}

Animation ReadWebp(const std::filesystem::path& file) {
    Animation result;
    const std::string text = ReadFileBytes(file);
    const WebPData data{reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_BGRA;  // straight alpha
    const std::unique_ptr<WebPAnimDecoder, void (*)(WebPAnimDecoder*)> decoder(WebPAnimDecoderNew(&data, &options),
                                                                                 WebPAnimDecoderDelete);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info)) {
        result.error = "not an animated WebP";
        return result;
    }
    result.loops = static_cast<int>(info.loop_count);
    while (WebPAnimDecoderHasMoreFrames(decoder.get())) {
        std::uint8_t* pixels = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(decoder.get(), &pixels, &timestamp)) {
            result.error = "frame " + std::to_string(result.frames.size()) + " does not decode";
            break;
        }
        result.frames.push_back(FromBgra(info.canvas_width, info.canvas_height, pixels));
        result.endTimesMs.push_back(timestamp);
    }
    return result;
}

Animation ReadGif(const std::filesystem::path& file) {
    Animation result;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(file.c_str(), &error);
    if (gif == nullptr) {
        result.error = GifErrorString(error);
        return result;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        result.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return result;
    }
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        for (int b = 0; b + 1 < saved.ExtensionBlockCount; ++b) {
            const ExtensionBlock& block = saved.ExtensionBlocks[b];
            const ExtensionBlock& next = saved.ExtensionBlocks[b + 1];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && next.ByteCount == 3 && next.Bytes[0] == 1) {
                result.loops = next.Bytes[1] | next.Bytes[2] << 8;
            }
        }
        GraphicsControlBlock control{};
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &control);
        result.endTimesMs.push_back(control.DelayTime);
        const ColorMapObject* map = saved.ImageDesc.ColorMap != nullptr ? saved.ImageDesc.ColorMap : gif->SColorMap;
        const GifImageDesc& desc = saved.ImageDesc;
        Image image{static_cast<std::uint32_t>(gif->SWidth), static_cast<std::uint32_t>(gif->SHeight), {}};
        image.pixels.assign(std::size_t{image.width} * image.height, 0);
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int index = saved.RasterBits[y * desc.Width + x];
                if (index == control.TransparentColor || map == nullptr || index >= map->ColorCount) continue;
                const GifColorType& colour = map->Colors[index];
                image.pixels[std::size_t(desc.Top + y) * image.width + std::size_t(desc.Left + x)] =
                    0xff000000u | std::uint32_t{colour.Red} << 16 | std::uint32_t{colour.Green} << 8 | colour.Blue;
            }
        }
        result.frames.push_back(std::move(image));
    }
    DGifCloseFile(gif, &error);
    return result;
}

}  // namespace orv::test
