#include "export/spill_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "vesk/path_utils.h"

namespace orv {
namespace {

[[noreturn]] void Fail(const char* what, int error) {
    std::string text = "cannot keep frames aside: ";
    text += what;
    text += ": ";
    text += std::strerror(error);
    throw std::runtime_error(text);
}

}  // namespace

SpillFile::SpillFile(const std::u16string& folder) {
    std::filesystem::path native;
    if (folder.empty()) {
        native = ".";
    } else if (!vesk::ToNativePath(folder, native)) {
        Fail("the folder name is not valid text", EINVAL);
    }
    fd_ = ::open(native.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // A file system without unnamed files: a named one, unlinked at once.
        std::string pattern = (native / ".orv-spill-XXXXXX").string();
        fd_ = ::mkstemp(pattern.data());
        if (fd_ >= 0) ::unlink(pattern.c_str());
    }
    if (fd_ < 0) Fail("cannot create a file in the output folder", errno);
}

SpillFile::~SpillFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::uint64_t SpillFile::Append(const std::vector<std::uint8_t>& bytes) {
    const std::uint64_t start = size_;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(size_ + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("write failed", n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    size_ += bytes.size();
    return start;
}

std::vector<std::uint8_t> SpillFile::Read(std::uint64_t offset, std::size_t size) const {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::pread(fd_, bytes.data() + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("read failed", n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    return bytes;
}

}  // namespace orv
