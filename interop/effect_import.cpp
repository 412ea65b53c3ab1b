#include "interop/effect_import.h"

#include <exception>

#include "engine/simulation.h"

namespace orv {

LoadOutcome ImportEffect(Effect& effect, std::u16string_view path, bool merge, FrameSize frame) {
    LoadOutcome outcome;
    ImportedEmitters imported;
    try {
        imported = ImportParticleFile(std::filesystem::path(std::u16string(path)), effect.Listener(), frame);
        outcome.loaded = true;
    } catch (const std::exception& error) {
        outcome.message = MakeEditorMessage(kReadErrorCaption, error.what());
    }
    if (outcome.loaded) {
        if (!merge) effect.RemoveAllEmitters();
        for (auto& emitter : imported.emitters) {
            outcome.texturesLoaded |= emitter->texture.Image() != nullptr;
            std::u16string name = emitter->params.name;
            Emitter& added = effect.AppendEmitter(std::move(emitter), std::move(name));
            RestartEmitter(added);
            RearmEmitter(added, 0);
        }
        effect.EnsureEmitter();
        if (!imported.report.Empty()) outcome.message = MakeEditorMessage(kImportReportCaption, imported.report.Text());
    }
    for (std::size_t i = 0; i < effect.Count(); ++i) outcome.listNames.push_back(effect.NameAt(i));
    return outcome;
}

LoadOutcome LoadAnyEffect(Effect& effect, std::u16string_view path, bool merge, FrameSize frame) {
    if (IsImportedFormat(path)) return ImportEffect(effect, path, merge, frame);
    return LoadEffect(effect, path, merge);
}

}  // namespace orv
