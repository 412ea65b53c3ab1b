#include "tests/export/format_decoders.h"

#include <gif_lib.h>
#include <png.h>
#include <webp/demux.h>
#include <zlib.h>

#include <cstring>
#include <memory>

#include "tests/support/temp_folder.h"

namespace orv::test {
namespace {

std::uint32_t BigEndian32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
}

std::string BigEndianBytes(std::uint32_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

// libpng's reader of a PNG in memory; an empty image when it is no PNG.
Image DecodePng(const std::string& bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return {};
    // 8-bit sRGB, straight alpha; memory order B, G, R, A is the word 0xAARRGGBB on this little-endian
    // machine.
    png.format = PNG_FORMAT_BGRA;
    Image image{png.width, png.height, std::vector<std::uint32_t>(PNG_IMAGE_SIZE(png) / 4)};
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return {};
    return image;
}

// An animation frame as the still PNG of the same header and its data, decoded by libpng.
Image DecodeFrame(const std::string& header, const std::string& data) {
    std::string png = "\x89PNG\r\n\x1a\n";
    for (const std::string& chunk : {"IHDR" + header, "IDAT" + data, std::string("IEND")}) {
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.data()), chunk.size());
        png += BigEndianBytes(static_cast<std::uint32_t>(chunk.size() - 4)) + chunk + BigEndianBytes(crc);
    }
    return DecodePng(png);
}

}  // namespace

Image ReadPng(const std::filesystem::path& file) {
    return DecodePng(ReadFileBytes(file));
}

Animation ReadAnimatedPng(const std::filesystem::path& file) {
    Animation result;
    // Records the first flaw found; the reading stops at it.
    const auto flaw = [&result](bool found, const std::string& what) {
        if (found && result.error.empty()) result.error = what;
    };
    const std::string text = ReadFileBytes(file);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    // A wrong signature is left to libpng's reading of the still image below.
    std::string header;
    std::vector<std::string> data;  // each frame's deflated rows
    std::uint32_t nextSequence = 0, frameCount = 0;
    bool ended = false;
    // Like a player, the reader stops at IEND.
    for (std::size_t at = 8, length = 0; at < text.size() && !ended; at += 12 + length) {
        flaw(text.size() - at < 12 || text.size() - at - 12 < BigEndian32(bytes + at),
             "truncated chunk at byte " + std::to_string(at));
        if (!result.error.empty()) break;  // the first fault ends the reading
        length = BigEndian32(bytes + at);
        const std::string type = text.substr(at + 4, 4);
        const std::uint8_t* body = bytes + at + 8;
        flaw(crc32(crc32(0, bytes + at + 4, 4), body, length) != BigEndian32(body + length),
             "bad CRC in " + type);
        flaw((type == "fcTL" || type == "fdAT") && (length < 4 || BigEndian32(body) != nextSequence++),
             "sequence number out of order in " + type);
        if (type == "IHDR") {
            header.assign(text, at + 8, length);
            flaw(length != 13 || body[8] != 8 || body[9] != 6 || body[12] != 0, "not 8-bit RGBA");
        } else if (type == "acTL") {
            flaw(length != 8, "acTL is not 8 bytes");
            if (!result.error.empty()) break;
            frameCount = BigEndian32(body);
            result.loops = static_cast<int>(BigEndian32(body + 4));
        } else if (type == "fcTL") {
            // Width and height as the header's, at 0, 0, disposed of "none", blended "source".
            flaw(length != 26 || header.empty() || text.compare(at + 12, 8, header, 0, 8) != 0 ||
                     BigEndian32(body + 12) != 0 || BigEndian32(body + 16) != 0 || body[24] != 0 ||
                     body[25] != 0,
                 "frame " + std::to_string(data.size()) + " does not replace the whole canvas");
            const int numerator = body[20] << 8 | body[21], denominator = body[22] << 8 | body[23];
            result.delaysMs.push_back(1000.0 * numerator / (denominator == 0 ? 100 : denominator));
            data.emplace_back();
        } else if (type == "IDAT" || type == "fdAT") {
            const bool idat = type == "IDAT";  // an fdAT's data follows its sequence number
            flaw(idat ? data.size() != 1 : data.size() < 2,
                 idat ? "the default image is not the first frame" : "fdAT before its fcTL");
            if (result.error.empty()) data.back().append(text, at + (idat ? 8 : 12), length - (idat ? 0 : 4));
        }
        ended = type == "IEND";
    }
    flaw(!ended, "no IEND");
    flaw(frameCount != data.size(), "acTL counts other frames");
    for (std::size_t i = 0; i < data.size() && result.error.empty(); ++i) {
        result.frames.push_back(DecodeFrame(header, data[i]));
        flaw(result.frames.back().pixels.empty(), "frame " + std::to_string(i) + " does not decode");
    }
    // A viewer without animation shows the first frame.
    flaw(result.error.empty() && !data.empty() && DecodePng(text) != result.frames.front(),
         "libpng reads another still image");
    return result;
}

Animation ReadWebp(const std::filesystem::path& file) {
    Animation result;
    const std::string text = ReadFileBytes(file);
    const WebPData data{reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_BGRA;  // straight alpha
    const std::unique_ptr<WebPAnimDecoder, void (*)(WebPAnimDecoder*)> decoder(
        WebPAnimDecoderNew(&data, &options), WebPAnimDecoderDelete);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info)) return {"no animated WebP", -1, {}, {}};
    result.loops = static_cast<int>(info.loop_count);
    for (int shown = 0; WebPAnimDecoderHasMoreFrames(decoder.get());) {
        std::uint8_t* pixels = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(decoder.get(), &pixels, &timestamp)) {
            result.error = "frame " + std::to_string(result.frames.size()) + " does not decode";
            break;
        }
        const std::size_t size = std::size_t{info.canvas_width} * info.canvas_height;
        result.frames.push_back({info.canvas_width, info.canvas_height, std::vector<std::uint32_t>(size)});
        std::memcpy(result.frames.back().pixels.data(), pixels,
                    size * 4);  // B, G, R, A bytes as in DecodePng
        result.delaysMs.push_back(timestamp - shown);
        shown = timestamp;
    }
    return result;
}

Animation ReadGif(const std::filesystem::path& file) {
    int error = 0;
    const std::unique_ptr<GifFileType, void (*)(GifFileType*)> gif(
        DGifOpenFileName(file.c_str(), &error), [](GifFileType* open) { DGifCloseFile(open, nullptr); });
    if (!gif || DGifSlurp(gif.get()) != GIF_OK) return {GifErrorString(gif ? gif->Error : error), -1, {}, {}};
    Animation result;
    // The loop count is the application block "NETSCAPE2.0" with its sub-block 1, count (little-endian).
    const std::string text = ReadFileBytes(file);
    const std::size_t at = text.find("\x21\xFF\x0BNETSCAPE2.0\x03\x01");
    if (at != std::string::npos && at + 17 < text.size())
        result.loops = std::uint8_t(text[at + 16]) | std::uint8_t(text[at + 17]) << 8;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        const GifImageDesc& desc = saved.ImageDesc;
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
        GraphicsControlBlock control{};  // no transparent colour and no delay when the frame sets none
        DGifSavedExtensionToGCB(gif.get(), i, &control);
        result.delaysMs.push_back(10.0 * control.DelayTime);
        Image& image =
            result.frames.emplace_back(Image{std::uint32_t(gif->SWidth), std::uint32_t(gif->SHeight), {}});
        image.pixels.assign(std::size_t{image.width} * image.height, 0);
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int index = saved.RasterBits[y * desc.Width + x];
                if (index == control.TransparentColor || map == nullptr || index >= map->ColorCount) continue;
                const GifColorType& colour = map->Colors[index];
                image.pixels[std::size_t(desc.Top + y) * image.width + std::size_t(desc.Left + x)] =
                    0xff000000u | colour.Red << 16 | colour.Green << 8 | colour.Blue;
            }
        }
    }
    return result;
}

}  // namespace orv::test
