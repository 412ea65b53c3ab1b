#include "export/sink_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <stdexcept>

#include "effectfile/atomic_file_stream.h"
#include "vesk/path_utils.h"
#include "vesk/text_conversion.h"

namespace orv {

SinkFile::SinkFile(const std::u16string& name) : name_(name) {
    std::filesystem::path native;
    if (!vesk::ToNativePath(name, native)) Fail("the name is not valid text");
    stream_ = std::make_unique<AtomicFileStream>(native);
}

SinkFile::~SinkFile() = default;

void SinkFile::Write(const void* bytes, std::size_t size) {
    const auto* next = static_cast<const char*>(bytes);
    while (size > 0) {
        // The stream counts in 32 bits.
        const auto piece = static_cast<std::uint32_t>(std::min<std::size_t>(size, 1u << 30));
        if (stream_->Write(next, piece) != piece) Fail(stream_->LastError());
        next += piece;
        size -= piece;
    }
}

void SinkFile::Commit() {
    stream_->Commit();
}

void SinkFile::Fail(const std::string& reason) const {
    throw std::runtime_error(FileFailure(name_, reason));
}

std::string FileFailure(const std::u16string& name, const std::string& reason) {
    // Appended piece by piece: GCC 12 at -O3 raises a false -Wrestrict on "literal" + temporary.
    std::string text = "cannot write \"";
    text += vesk::Utf8ForDisplay(name);
    text += "\": ";
    text += reason;
    return text;
}

}  // namespace orv
