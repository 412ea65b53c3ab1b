#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// Bytes set aside on disk until a render needs them again: an unnamed file in the output folder
// (where the output is about to go anyway, so there is room), gone when closed, even after a
// crash. Failures throw std::runtime_error with the reason.
class SpillFile {
public:
    explicit SpillFile(const std::u16string& folder);
    ~SpillFile();
    SpillFile(const SpillFile&) = delete;
    SpillFile& operator=(const SpillFile&) = delete;

    // Appends the bytes; returns where they start.
    std::uint64_t Append(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> Read(std::uint64_t offset, std::size_t size) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace orv
