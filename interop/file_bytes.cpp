#include "interop/file_bytes.h"

#include <array>
#include <fstream>
#include <stdexcept>

#include "effectfile/atomic_file_stream.h"

namespace orv {

Bytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open \"" + path.string() + "\"");
    Bytes bytes;
    std::array<char, 65536> chunk{};
    while (file) {
        file.read(chunk.data(), chunk.size());
        const auto count = static_cast<std::size_t>(file.gcount());
        if (bytes.size() + count > limit) {
            throw std::runtime_error("\"" + path.string() + "\" is larger than " + std::to_string(limit >> 20) + " MiB");
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count));
    }
    if (file.bad()) throw std::runtime_error("cannot read \"" + path.string() + "\"");
    return bytes;
}

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    AtomicFileStream stream(path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto size = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (stream.Write(bytes.data() + done, size) != size) {
            throw std::runtime_error("cannot write \"" + path.string() + "\": " + stream.LastError());
        }
        done += size;
    }
    stream.Commit();
}

}  // namespace orv
