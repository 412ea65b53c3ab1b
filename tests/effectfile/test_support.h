#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "effectfile/effect_loading.h"
#include "effectfile/effect_reader.h"
#include "effectfile/effect_writer.h"
#include "engine/effect.h"
#include "tests/support/temp_folder.h"
#include "vesk/stream.h"

namespace orv::test {

// A stream over a string; writes stop after `capacity` bytes, as on a full disk, and the size it
// claims may be more than it holds, as of a file cut while being read.
class MemoryStream final : public vesk::CStream {
public:
    explicit MemoryStream(std::string data = {}, std::size_t capacity = SIZE_MAX, std::size_t claimedSize = 0)
        : data_(std::move(data)), capacity_(capacity), claimedSize_(claimedSize) {}

    std::uint32_t Read(void* buffer, std::uint32_t size) override {
        const std::size_t n = std::min<std::size_t>(size, data_.size() - position_);
        std::memcpy(buffer, data_.data() + position_, n);
        position_ += n;
        return static_cast<std::uint32_t>(n);
    }
    std::uint32_t Write(const void* buffer, std::uint32_t size) override {
        const std::size_t n = std::min<std::size_t>(size, capacity_ - std::min(capacity_, data_.size()));
        data_.append(static_cast<const char*>(buffer), n);
        return static_cast<std::uint32_t>(n);
    }
    bool Seek(std::int32_t, int) override { return false; }
    std::uint32_t Tell() override { return static_cast<std::uint32_t>(position_); }
    std::uint32_t GetSize() override {
        return static_cast<std::uint32_t>(std::max(data_.size(), claimedSize_));
    }

    const std::string& Data() const { return data_; }

private:
    std::string data_;
    std::size_t capacity_;
    std::size_t claimedSize_;
    std::size_t position_ = 0;
};

// The effect as the writer lays it out.
inline std::string EffectText(const Effect& effect, std::u16string_view effectPath = u"/fx/e.orv") {
    MemoryStream stream;
    WriteEffect(effect, stream, effectPath);
    return stream.Data();
}

// Reads effect text into `effect` as an open would, under the names read; false when the text
// holds no emitter list. Syntax and read errors are thrown. In memory: the effect fuzzer reads
// every input three times through it.
inline bool LoadText(const std::string& text, Effect& effect) {
    MemoryStream stream(text);
    BackgroundValues background{};
    std::optional<std::uint64_t> seed;
    auto emitters = ReadEffect(stream, background, effect.Listener(), &seed);
    if (!emitters) return false;
    effect.RemoveAllEmitters();
    effect.SetSeed(seed);
    for (std::size_t row = kBgR; row <= kBgA; ++row) effect.SetBackgroundRaw(row, background[row - kBgR]);
    for (auto& emitter : *emitters) {
        std::u16string name = emitter->params.name;
        effect.AppendEmitter(std::move(emitter), std::move(name));
    }
    return true;
}

// Writes a small opaque PNG of `width` x `height`.
void WritePng(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height);

}  // namespace orv::test
