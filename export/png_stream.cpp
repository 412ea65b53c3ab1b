#include "export/png_stream.h"

#include <new>
#include <stdexcept>

#include "export/sink_file.h"

namespace orv {
namespace {

constexpr std::size_t kPieceSize = 64 * 1024;
constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::uint8_t kFilterUp = 2;

// Level and strategy as the sequence's PNG files use them: run-length deflate packs the long runs
// of one colour in rendered frames at a fraction of the default search's time.
void ZlibSettingsFor(PngCompression compression, int& level, int& strategy) {
    switch (compression) {
        case PngCompression::kFast:
            level = 1;
            strategy = Z_RLE;
            return;
        case PngCompression::kSmall:
            level = 9;
            strategy = Z_RLE;
            return;
        case PngCompression::kDefault:
            break;
    }
    level = 6;
    strategy = Z_FILTERED;
}

}  // namespace

void AppendBigEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (const int shift : {24, 16, 8, 0}) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PngChunkWriter::Begin(std::uint32_t width, std::uint32_t height) {
    file_.Write(kSignature, sizeof kSignature);
    std::vector<std::uint8_t> header;
    AppendBigEndian32(header, width);
    AppendBigEndian32(header, height);
    // 8 bits per sample, colour type 6 (RGBA), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});
    Chunk("IHDR", header.data(), header.size());
}

void PngChunkWriter::Chunk(std::string_view type, const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> head;
    AppendBigEndian32(head, static_cast<std::uint32_t>(size));
    head.insert(head.end(), type.begin(), type.end());
    uLong crc = crc32(0, head.data() + 4, 4);
    if (size != 0) crc = crc32(crc, data, static_cast<uInt>(size));
    file_.Write(head.data(), head.size());
    if (size != 0) file_.Write(data, size);
    std::vector<std::uint8_t> tail;
    AppendBigEndian32(tail, static_cast<std::uint32_t>(crc));
    file_.Write(tail.data(), tail.size());
}

PngImageData::PngImageData(std::uint32_t width, PngCompression compression, Emit emit)
    : emit_(std::move(emit)), row_(1 + std::size_t{width} * 4), previous_(std::size_t{width} * 4), out_(kPieceSize) {
    int level = 0;
    int strategy = 0;
    ZlibSettingsFor(compression, level, strategy);
    if (deflateInit2(&stream_, level, Z_DEFLATED, 15, 8, strategy) != Z_OK) throw std::bad_alloc();
    row_[0] = kFilterUp;
}

PngImageData::~PngImageData() {
    deflateEnd(&stream_);
}

void PngImageData::Row(const std::uint32_t* pixels) {
    std::uint8_t* filtered = row_.data() + 1;
    const std::size_t width = previous_.size() / 4;
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint32_t pixel = pixels[x];
        const std::uint8_t rgba[4] = {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                                      static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 24)};
        for (std::size_t c = 0; c < 4; ++c) {
            std::uint8_t& above = previous_[x * 4 + c];
            filtered[x * 4 + c] = static_cast<std::uint8_t>(rgba[c] - above);
            above = rgba[c];
        }
    }
    Deflate(row_.data(), row_.size(), Z_NO_FLUSH);
}

void PngImageData::End() {
    Deflate(nullptr, 0, Z_FINISH);
}

void PngImageData::Deflate(const std::uint8_t* bytes, std::size_t size, int flush) {
    stream_.next_in = const_cast<Bytef*>(bytes);
    stream_.avail_in = static_cast<uInt>(size);
    for (;;) {
        stream_.next_out = out_.data();
        stream_.avail_out = static_cast<uInt>(out_.size());
        const int status = deflate(&stream_, flush);
        if (status == Z_STREAM_ERROR) throw std::runtime_error("deflate failed");
        const std::size_t produced = out_.size() - stream_.avail_out;
        if (produced != 0) emit_(out_.data(), produced);
        if (flush == Z_FINISH ? status == Z_STREAM_END : stream_.avail_out != 0) return;
    }
}

}  // namespace orv
