#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/effect.h"
#include "vesk/stream.h"

namespace orv::test {

// A stream over a string; writes stop after `capacity` bytes, as on a full disk.
class MemoryStream final : public vesk::CStream {
public:
    explicit MemoryStream(std::string data = {}, std::size_t capacity = SIZE_MAX)
        : data_(std::move(data)), capacity_(capacity) {}

    std::uint32_t Read(void* buffer, std::uint32_t size) override;
    std::uint32_t Write(const void* buffer, std::uint32_t size) override;
    bool Seek(std::int32_t, int) override { return false; }
    std::uint32_t Tell() override { return static_cast<std::uint32_t>(position_); }
    std::uint32_t GetSize() override { return static_cast<std::uint32_t>(data_.size()); }

    const std::string& Data() const { return data_; }

private:
    std::string data_;
    std::size_t capacity_;
    std::size_t position_ = 0;
};

// A fresh folder, removed with its content at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::u16string Wide(const std::string& name) const;

private:
    std::filesystem::path path_;
};

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// The effect as the writer lays it out.
std::string EffectText(const Effect& effect, std::u16string_view effectPath = u"/fx/e.orv");

// Writes a small opaque PNG of `width` x `height`.
void WritePng(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height);

}  // namespace orv::test
