// libFuzzer target: any bytes given to the reader either load or are refused with a message, and
// whatever loads writes out as text that reads back to the same text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "effectfile/effect_reader.h"
#include "effectfile/effect_writer.h"
#include "engine/effect.h"
#include "vesk/stream.h"

namespace {

class BytesStream final : public vesk::CStream {
public:
    explicit BytesStream(std::string data = {}) : data_(std::move(data)) {}
    std::uint32_t Read(void* buffer, std::uint32_t size) override {
        const std::size_t n = std::min<std::size_t>(size, data_.size() - position_);
        std::memcpy(buffer, data_.data() + position_, n);
        position_ += n;
        return static_cast<std::uint32_t>(n);
    }
    std::uint32_t Write(const void* buffer, std::uint32_t size) override {
        data_.append(static_cast<const char*>(buffer), size);
        return size;
    }
    bool Seek(std::int32_t, int) override { return false; }
    std::uint32_t Tell() override { return 0; }
    std::uint32_t GetSize() override { return static_cast<std::uint32_t>(data_.size()); }
    const std::string& Data() const { return data_; }

private:
    std::string data_;
    std::size_t position_ = 0;
};

// The effect text of what `text` holds, or nothing when it does not load.
bool Rewrite(const std::string& text, std::string& out) {
    BytesStream in(text);
    orv::BackgroundValues background{};
    orv::Effect effect;
    try {
        auto emitters = orv::ReadEffect(in, background, effect.Listener());
        if (!emitters) return false;
        effect.RemoveAllEmitters();
        for (std::size_t row = orv::kBgR; row <= orv::kBgA; ++row) {
            effect.SetBackgroundRaw(row, background[row - orv::kBgR]);
        }
        for (auto& emitter : *emitters) {
            std::u16string name = emitter->params.name;
            effect.AppendEmitter(std::move(emitter), std::move(name));
        }
        BytesStream written;
        orv::WriteEffect(effect, written, u"/fx/e.orv");
        out = written.Data();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string first;
    if (!Rewrite(std::string(reinterpret_cast<const char*>(data), size), first)) return 0;
    std::string second, third;
    if (!Rewrite(first, second) || !Rewrite(second, third) || second != third) std::abort();
    return 0;
}
