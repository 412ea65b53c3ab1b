#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "vesk/stream.h"

namespace orv {

// A write-only stream that replaces a file only once everything has been written: the bytes go
// to a new file in the target's folder, which Commit flushes to disk and renames over the
// target. Until then, and after any failure, the previous file stays untouched; an uncommitted
// temporary file is removed on destruction.
class AtomicFileStream final : public vesk::CStream {
public:
    // Creates the temporary file. Throws std::runtime_error naming the target and the reason when
    // it cannot be created.
    explicit AtomicFileStream(std::filesystem::path target);
    ~AtomicFileStream() override;

    // Nothing can be read back.
    std::uint32_t Read(void* buffer, std::uint32_t size) override;
    // Writes all of `buffer` unless the system refuses; a short count means failure, and
    // LastError says why.
    std::uint32_t Write(const void* buffer, std::uint32_t size) override;
    // The stream only appends.
    bool Seek(std::int32_t offset, int origin) override;
    std::uint32_t Tell() override;
    std::uint32_t GetSize() override;

    // Why the last write failed.
    const std::string& LastError() const { return lastError_; }

    // Flushes the data to disk and puts the file in place of the target. Throws
    // std::runtime_error naming the target and the reason on failure; the target then keeps its
    // previous content and the temporary file is gone.
    void Commit();

private:
    void Discard();
    [[noreturn]] void Fail(const char* what, int error);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::uint64_t written_ = 0;
    std::string lastError_;
};

}  // namespace orv
