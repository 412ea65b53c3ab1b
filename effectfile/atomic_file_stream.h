#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "vesk/stream.h"

namespace orv {

// A write-only stream that replaces a file only once everything has been written: the bytes go
// to a new file in the target's folder, which Commit flushes to disk and renames over the
// target. Until then, and after any failure, the previous file stays untouched; an uncommitted
// temporary file is removed on destruction. The new file takes the old one's permission bits,
// and its owner and group where the process may set them. A symbolic link is followed: the file
// it points to is replaced, the link stays.
//
// A target the user may not write is refused, as the system would refuse writing into it. In a
// folder where the user may not create files, a writable target is written in place instead:
// the bytes are held until Commit and then written over the old ones in one go, every step
// checked.
class AtomicFileStream final : public vesk::CStream {
public:
    // Creates the temporary file. Throws std::runtime_error naming the target and the reason when
    // the target may not be written or no file can be created.
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
    void CommitInPlace();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    bool inPlace_ = false;
    std::string held_;  // in place: the bytes Commit writes
    std::uint64_t written_ = 0;
    std::string lastError_;
};

}  // namespace orv
