#include "effectfile/atomic_file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace orv {
namespace {

std::string Describe(const std::filesystem::path& path, const char* what, int error) {
    return std::string("write error: ") + what + " \"" + path.string() + "\": " + std::strerror(error);
}

// Writing through a symbolic link replaces the file it points to, not the link.
std::filesystem::path FollowLinks(std::filesystem::path target) {
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        auto resolved = std::filesystem::weakly_canonical(target, error);
        if (!error) return resolved;
    }
    return target;
}

void SyncFolder(const std::filesystem::path& folder) {
    // Makes the rename itself durable; a folder that cannot be opened for this is no failure of
    // the save, whose data are already on disk.
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFileStream::AtomicFileStream(std::filesystem::path target) : target_(FollowLinks(std::move(target))) {
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    // Renaming over a file needs only the folder's permission; the file's own must count too.
    if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
        throw std::runtime_error(Describe(target_, "cannot write", errno));
    }

    static std::atomic<unsigned> counter{0};
    int error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = target_;
        // Built with append rather than a chain of operator+, which GCC 12 at -O3 misreads as an
        // overlapping copy (-Wrestrict).
        std::string name = ".";
        name.append(target_.filename().string())
            .append(".")
            .append(std::to_string(::getpid()))
            .append(".")
            .append(std::to_string(counter++))
            .append(".tmp");
        candidate.replace_filename(name);
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temporary_ = std::move(candidate);
            break;
        }
        error = errno;
        if (error != EEXIST) break;
    }
    if (fd_ < 0) {
        if (exists && S_ISREG(existing.st_mode) && (error == EACCES || error == EPERM)) {
            inPlace_ = true;
            return;
        }
        throw std::runtime_error(Describe(target_, "cannot create", error));
    }

    // The replacement keeps the owner, group and permissions of the file it replaces. Only root
    // may give a file away, so a failed chown is no failure of the save; the mode is set after
    // it, since a change of owner clears the set-user-ID bits.
    if (exists && S_ISREG(existing.st_mode)) {
        static_cast<void>(::fchown(fd_, existing.st_uid, existing.st_gid) == 0);
        ::fchmod(fd_, existing.st_mode & 07777);
    }
}

AtomicFileStream::~AtomicFileStream() {
    Discard();
}

void AtomicFileStream::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void AtomicFileStream::Fail(const char* what, int error) {
    Discard();
    throw std::runtime_error(Describe(target_, what, error));
}

std::uint32_t AtomicFileStream::Read(void*, std::uint32_t) {
    return 0;
}

std::uint32_t AtomicFileStream::Write(const void* buffer, std::uint32_t size) {
    const auto* bytes = static_cast<const char*>(buffer);
    if (inPlace_) {
        held_.append(bytes, size);
        written_ += size;
        return size;
    }
    if (fd_ < 0) return 0;
    std::uint32_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            lastError_ = std::strerror(n < 0 ? errno : EIO);
            break;
        }
        done += static_cast<std::uint32_t>(n);
    }
    written_ += done;
    return done;
}

bool AtomicFileStream::Seek(std::int32_t, int) {
    return false;
}

std::uint32_t AtomicFileStream::Tell() {
    return static_cast<std::uint32_t>(written_);
}

std::uint32_t AtomicFileStream::GetSize() {
    return static_cast<std::uint32_t>(written_);
}

void AtomicFileStream::Commit() {
    if (inPlace_) return CommitInPlace();
    if (fd_ < 0) throw std::runtime_error(Describe(target_, "cannot write", EBADF));
    if (::fsync(fd_) != 0) Fail("cannot write", errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail("cannot write", errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("cannot replace", errno);
    temporary_.clear();
    SyncFolder(target_.parent_path());
}

void AtomicFileStream::CommitInPlace() {
    inPlace_ = false;  // one commit only
    // No O_TRUNC: the old bytes go only as the new ones arrive, and the tail is cut at the end.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) Fail("cannot write", errno);
    for (std::size_t done = 0; done < held_.size();) {
        const ssize_t n = ::write(fd_, held_.data() + done, held_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("cannot write", n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    if (::ftruncate(fd_, static_cast<off_t>(held_.size())) != 0) Fail("cannot write", errno);
    if (::fsync(fd_) != 0) Fail("cannot write", errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail("cannot write", errno);
}

}  // namespace orv
