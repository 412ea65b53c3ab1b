#include "interop/embedded_data.h"

#include <zlib.h>

#include <array>
#include <stdexcept>

namespace orv {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Sextet(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// zlib's stream state, ended however the caller leaves.
class ZStream {
public:
    explicit ZStream(bool inflating) : inflating_(inflating) {}
    ZStream(const ZStream&) = delete;
    ZStream& operator=(const ZStream&) = delete;
    ~ZStream() {
        if (!started_) return;
        if (inflating_) {
            inflateEnd(&stream_);
        } else {
            deflateEnd(&stream_);
        }
    }
    z_stream* Get() { return &stream_; }
    void Started() { started_ = true; }

private:
    z_stream stream_{};
    bool inflating_;
    bool started_ = false;
};

}  // namespace

Bytes DecodeBase64(std::string_view text) {
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=') break;
        const int value = Sextet(c);
        if (value < 0) continue;
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes.push_back(static_cast<std::uint8_t>(bits >> count));
        }
    }
    return bytes;
}

std::string EncodeBase64(const Bytes& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = std::uint32_t{bytes[i]} << 16;
        if (n > 1) group |= std::uint32_t{bytes[i + 1]} << 8;
        if (n > 2) group |= bytes[i + 2];
        for (std::size_t k = 0; k < 4; ++k) {
            text += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
        }
    }
    return text;
}

Bytes Inflate(const Bytes& compressed, std::size_t limit) {
    ZStream zs(true);
    z_stream* stream = zs.Get();
    // 32 + 15: a gzip or a zlib header, recognised automatically.
    if (inflateInit2(stream, 32 + 15) != Z_OK) throw std::runtime_error("cannot start inflating");
    zs.Started();
    stream->next_in = const_cast<Bytes::value_type*>(compressed.data());
    stream->avail_in = static_cast<uInt>(compressed.size());
    Bytes out;
    std::array<std::uint8_t, 65536> chunk{};
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        stream->next_out = chunk.data();
        stream->avail_out = static_cast<uInt>(chunk.size());
        result = inflate(stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END) {
            throw std::runtime_error("the embedded image is not a valid gzip or zlib stream");
        }
        const std::size_t produced = chunk.size() - stream->avail_out;
        if (out.size() + produced > limit) {
            throw std::runtime_error("the embedded image is larger than " + std::to_string(limit >> 20) + " MiB");
        }
        out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(produced));
        if (result == Z_OK && produced == 0 && stream->avail_in == 0) {
            throw std::runtime_error("the embedded image's compressed data is cut short");
        }
    }
    return out;
}

Bytes Gzip(const Bytes& data) {
    ZStream zs(false);
    z_stream* stream = zs.Get();
    // 16 + 15: a gzip header and trailer.
    if (deflateInit2(stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("cannot start compressing");
    }
    zs.Started();
    Bytes out(deflateBound(stream, static_cast<uLong>(data.size())) + 32);
    stream->next_in = const_cast<Bytes::value_type*>(data.data());
    stream->avail_in = static_cast<uInt>(data.size());
    stream->next_out = out.data();
    stream->avail_out = static_cast<uInt>(out.size());
    if (deflate(stream, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("cannot compress the texture");
    // Cut with erase rather than resize: GCC 12 with the sanitizers cannot see that this never
    // grows the vector and warns about the fill a growth would do.
    out.erase(out.end() - static_cast<std::ptrdiff_t>(stream->avail_out), out.end());
    return out;
}

ImageSignature SniffImage(const Bytes& bytes) {
    static constexpr std::array<std::uint8_t, 8> kPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= kPng.size() && std::equal(kPng.begin(), kPng.end(), bytes.begin())) return ImageSignature::kPng;
    if (bytes.size() >= 4 && ((bytes[0] == 'I' && bytes[1] == 'I' && bytes[2] == 42 && bytes[3] == 0) ||
                              (bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0 && bytes[3] == 42))) {
        return ImageSignature::kTiff;
    }
    return ImageSignature::kOther;
}

}  // namespace orv
