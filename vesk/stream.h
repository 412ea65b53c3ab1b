#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace vesk {

// Abstract byte stream. Positions and sizes are 32-bit: no effect or image file comes near 4 GB.
class CStream {
public:
    CStream() = default;
    CStream(const CStream&) = delete;
    CStream& operator=(const CStream&) = delete;
    virtual ~CStream() = default;

    // Returns the number of bytes actually read.
    virtual std::uint32_t Read(void* buffer, std::uint32_t size) = 0;
    // Returns the number of bytes actually written.
    virtual std::uint32_t Write(const void* buffer, std::uint32_t size) = 0;
    // origin: kSeekCurrent (0), kSeekBegin (1), kSeekEnd (2); any other value acts as 0.
    virtual bool Seek(std::int32_t offset, int origin) = 0;
    virtual std::uint32_t Tell() = 0;
    virtual std::uint32_t GetSize() = 0;
};

// The library's own seek origin codes (not the OS ones).
inline constexpr int kSeekCurrent = 0;
inline constexpr int kSeekBegin = 1;
inline constexpr int kSeekEnd = 2;

// Open-mode bits of OpenFileStream.
inline constexpr unsigned kOpenRead = 1;
inline constexpr unsigned kOpenWrite = 2;

// A stream over an OS file descriptor (-1 = closed, the "null handle"). Every operation on a
// closed stream does nothing and returns 0 (Seek returns false).
class CBasicStream : public CStream {
public:
    CBasicStream() = default;
    // Takes ownership of an open descriptor.
    explicit CBasicStream(int fd) : fd_(fd) {}
    ~CBasicStream() override;

    // One OS call for the whole request; the count transferred is returned (no retry loop).
    std::uint32_t Read(void* buffer, std::uint32_t size) override;
    std::uint32_t Write(const void* buffer, std::uint32_t size) override;
    // Returns true whenever the stream is open, whatever the OS reported (a seek before the
    // start leaves the position unchanged).
    bool Seek(std::int32_t offset, int origin) override;
    std::uint32_t Tell() override;
    // Low 32 bits of the file size.
    std::uint32_t GetSize() override;

    bool IsOpen() const { return fd_ != -1; }

private:
    int fd_ = -1;
};

// Opens a file for writing exclusively and for reading shared with other readers only (open +
// flock(LOCK_EX or LOCK_SH | LOCK_NB) on Linux, the matching share modes on Windows).
// mode bit 1 = read, bit 2 = write. Read alone opens an existing file; write (with or without
// read) creates or truncates it. A file that another OpenFileStream (in this or another process)
// has open for writing is refused, as is a write open of a file open for reading; a refused
// attempt truncates nothing.
// A mode with neither bit, a path that is not valid UTF-16, a directory or any OS refusal yields
// null. Text stops at the path's first NUL.
std::unique_ptr<CBasicStream> OpenFileStream(std::u16string_view path, unsigned mode);

}  // namespace vesk
