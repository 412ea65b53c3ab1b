#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

using Bytes = std::vector<std::uint8_t>;

// Largest image a file may embed, once decoded from base64 and inflated.
inline constexpr std::size_t kMaxEmbeddedBytes = 64u << 20;

// Standard base64 as the engines read it: characters outside the alphabet (line breaks) are
// skipped and the first '=' ends the data.
Bytes DecodeBase64(std::string_view text);
std::string EncodeBase64(const Bytes& bytes);

// Inflates a gzip or zlib stream (told apart by its header). Throws std::runtime_error when the
// data is not such a stream, is cut short, or would grow beyond `limit` bytes.
Bytes Inflate(const Bytes& compressed, std::size_t limit = kMaxEmbeddedBytes);
// The data as a gzip stream, what the engines' writers embed.
Bytes Gzip(const Bytes& data);

enum class ImageSignature { kPng, kTiff, kOther };
// By the first bytes, never by a file name: many files call a TIFF "*.png".
ImageSignature SniffImage(const Bytes& bytes);

}  // namespace orv
