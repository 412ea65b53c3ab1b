#include "vesk/stream.h"

#include <cerrno>
#include <new>
#include <string>

#include "vesk/text_conversion.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vesk {

namespace {

#ifdef _WIN32
using OffT = long long;
OffT SysSeek(int fd, OffT off, int whence) {
    return _lseeki64(fd, off, whence);
}
long long SysRead(int fd, void* b, std::uint32_t n) {
    return _read(fd, b, n);
}
long long SysWrite(int fd, const void* b, std::uint32_t n) {
    return _write(fd, b, n);
}
void SysClose(int fd) {
    _close(fd);
}
long long SysSize(int fd) {
    return _filelengthi64(fd);
}
#else
using OffT = off_t;
OffT SysSeek(int fd, OffT off, int whence) {
    return ::lseek(fd, off, whence);
}
long long SysRead(int fd, void* b, std::uint32_t n) {
    ssize_t r;
    do {
        r = ::read(fd, b, n);
    } while (r < 0 && errno == EINTR);
    return r;
}
long long SysWrite(int fd, const void* b, std::uint32_t n) {
    ssize_t r;
    do {
        r = ::write(fd, b, n);
    } while (r < 0 && errno == EINTR);
    return r;
}
void SysClose(int fd) {
    ::close(fd);
}
long long SysSize(int fd) {
    struct stat st;
    return ::fstat(fd, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}
#endif

}  // namespace

CBasicStream::~CBasicStream() {
    if (fd_ != -1) {
        SysClose(fd_);
        fd_ = -1;
    }
}

std::uint32_t CBasicStream::Read(void* buffer, std::uint32_t size) {
    if (fd_ == -1) return 0;
    long long r = SysRead(fd_, buffer, size);
    return r > 0 ? static_cast<std::uint32_t>(r) : 0;
}

std::uint32_t CBasicStream::Write(const void* buffer, std::uint32_t size) {
    if (fd_ == -1) return 0;
    long long r = SysWrite(fd_, buffer, size);
    return r > 0 ? static_cast<std::uint32_t>(r) : 0;
}

bool CBasicStream::Seek(std::int32_t offset, int origin) {
    if (fd_ == -1) return false;
    int whence = SEEK_CUR;
    if (origin == kSeekBegin)
        whence = SEEK_SET;
    else if (origin == kSeekEnd)
        whence = SEEK_END;
    SysSeek(fd_, static_cast<OffT>(offset),
            whence);  // callers rely on Seek reporting success whenever the stream is open
    return true;
}

std::uint32_t CBasicStream::Tell() {
    if (fd_ == -1) return 0;
    OffT pos = SysSeek(fd_, 0, SEEK_CUR);
    return pos < 0 ? 0 : static_cast<std::uint32_t>(static_cast<unsigned long long>(pos));
}

std::uint32_t CBasicStream::GetSize() {
    if (fd_ == -1) return 0;
    long long size = SysSize(fd_);
    return size < 0 ? 0 : static_cast<std::uint32_t>(static_cast<unsigned long long>(size));
}

std::unique_ptr<CBasicStream> OpenFileStream(std::u16string_view path, unsigned mode) {
    const bool read = (mode & kOpenRead) != 0;
    const bool write = (mode & kOpenWrite) != 0;
    if (!read && !write) return nullptr;
    std::u16string_view p = path.substr(0, path.find(u'\0'));
    if (p.empty()) return nullptr;

#ifdef _WIN32
    int flags = _O_BINARY | _O_NOINHERIT;
    if (write)
        flags |= (read ? _O_RDWR : _O_WRONLY) | _O_CREAT | _O_TRUNC;
    else
        flags |= _O_RDONLY;
    std::wstring wpath(p.begin(), p.end());
    int fd = -1;
    if (_wsopen_s(&fd, wpath.c_str(), flags, write ? _SH_DENYRW : _SH_DENYWR, _S_IREAD | _S_IWRITE) != 0 || fd == -1)
        return nullptr;
#else
    std::string narrow;
    if (!WideToUtf8(narrow, p)) return nullptr;
    // No O_TRUNC here: the file is truncated only once the exclusive lock is held, so a refused
    // second open cannot destroy the first opener's data.
    int flags = O_CLOEXEC;
    if (write)
        flags |= (read ? O_RDWR : O_WRONLY) | O_CREAT;
    else
        flags |= O_RDONLY;
    int fd;
    do {
        fd = ::open(narrow.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    // Readers share the file with other readers (several renders of one effect at once, as a split
    // render runs them), never with a writer; a writer has it alone.
    const int lock = write ? LOCK_EX : LOCK_SH;
    int lr;
    do {
        lr = ::flock(fd, lock | LOCK_NB);
    } while (lr != 0 && errno == EINTR);
    if (lr != 0) {
        ::close(fd);
        return nullptr;
    }
    if (write && S_ISREG(st.st_mode) && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return nullptr;
    }
#endif
    auto* stream = new (std::nothrow) CBasicStream(fd);
    if (!stream) {
        SysClose(fd);
        return nullptr;
    }
    return std::unique_ptr<CBasicStream>(stream);
}

}  // namespace vesk
