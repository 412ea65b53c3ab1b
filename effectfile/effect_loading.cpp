#include "effectfile/effect_loading.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <utility>

#include "effectfile/effect_reader.h"
#include "effectfile/texture_loading.h"
#include "engine/simulation.h"
#include "vesk/path_utils.h"
#include "vesk/stream.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

std::vector<std::u16string> ListNames(const Effect& effect) {
    std::vector<std::u16string> names;
    for (std::size_t i = 0; i < effect.Count(); ++i) names.push_back(effect.NameAt(i));
    return names;
}

EditorMessage CannotOpen(std::u16string_view path, int error) {
    std::string text = "read error: cannot open \"" + vesk::Utf8ForDisplay(path) + "\"";
    if (error == EWOULDBLOCK) {
        text += ": the file is in use";
    } else if (error != 0) {
        text += std::string(": ") + std::strerror(error);
    }
    return MakeEditorMessage(kReadErrorCaption, text);
}

// Rows 56..59 take the file's values; one the background slider cannot show is ignored.
void ApplyBackground(Effect& effect, const BackgroundValues& background) {
    for (std::size_t row = kBgR; row <= kBgA; ++row) {
        const std::int32_t raw = background[row - kBgR];
        if (raw >= Param(row).MinRaw() && raw <= Param(row).MaxRaw()) effect.SetBackgroundRaw(row, raw);
    }
}

}  // namespace

LoadOutcome LoadEffect(Effect& effect, std::u16string_view path, bool merge) {
    LoadOutcome outcome;
    std::optional<EmitterList> emitters;
    BackgroundValues background{};
    std::optional<std::uint64_t> seed;
    errno = 0;
    if (auto stream = vesk::OpenFileStream(path, vesk::kOpenRead)) {
        try {
            emitters = ReadEffect(*stream, background, effect.Listener(), &seed);
            outcome.loaded = true;
        } catch (const std::exception& error) {
            outcome.message = MakeEditorMessage(kReadErrorCaption, error.what());
        }
    } else {
        outcome.message = CannotOpen(path, errno);
    }

    if (outcome.loaded) {
        if (!merge) effect.RemoveAllEmitters();
        ApplyBackground(effect, background);
        // A merged file without a seed keeps the effect's: merging adds emitters, it should not
        // quietly make a fixed effect random again.
        if (seed || !merge) effect.SetSeed(seed);
        const std::u16string effectPath(path);
        EmitterList list = emitters ? std::move(*emitters) : EmitterList{};
        for (auto& emitter : list) {
            std::u16string name = emitter->params.name;
            Emitter& added = effect.AppendEmitter(std::move(emitter), std::move(name));
            if (!added.texture.FileName().empty()) {
                const std::u16string resolved = vesk::ResolvePath(added.texture.FileName(), effectPath);
                outcome.texturesLoaded |= LoadEmitterTexture(added, resolved);
            }
            RestartEmitter(added);
            RearmEmitter(added, 0);
        }
        effect.EnsureEmitter();
    }
    outcome.listNames = ListNames(effect);
    outcome.selection = 0;
    return outcome;
}

}  // namespace orv
