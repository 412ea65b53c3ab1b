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
    std::string text = "cannot write \"";
    text += vesk::Utf8ForDisplay(name_);
    text += "\": ";
    text += reason;
    throw std::runtime_error(text);
}

}  // namespace orv
