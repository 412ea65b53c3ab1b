#include "editor/editor_document.h"

#include "editor/seed_edit.h"
#include "editor/step_names.h"
#include "editor/texture_edits.h"
#include "effectfile/effect_writer.h"
#include "effectfile/texture_loading.h"
#include "interop/effect_import.h"
#include "engine/simulation.h"
#include "vesk/path_utils.h"

namespace orv {

namespace {

std::u16string FlagName(EmitterFlag flag) {
    switch (flag) {
        case EmitterFlag::kEnableColor:
            return step_name::kEnableColor;
        case EmitterFlag::kColorConstant:
            return step_name::kColorConstant;
        case EmitterFlag::kTextureDirection:
            break;
    }
    return step_name::kTextureDirection;
}

bool& FlagOf(EmitterParams& params, EmitterFlag flag) {
    switch (flag) {
        case EmitterFlag::kEnableColor:
            return params.enableColor;
        case EmitterFlag::kColorConstant:
            return params.colorConstant;
        case EmitterFlag::kTextureDirection:
            break;
    }
    return params.textureDirectionBefore;
}

bool SameSettings(const TextureSettings& a, const TextureSettings& b) {
    return a.FileName() == b.FileName() && a.SplitX() == b.SplitX() && a.SplitY() == b.SplitY() &&
           a.IsAnimation() == b.IsAnimation() && a.FrameDurations() == b.FrameDurations() &&
           a.TotalAnimationTime() == b.TotalAnimationTime();
}

EditedValues DefaultValues() {
    Emitter defaults;
    return {defaults.params, BackgroundRaws{}};
}

}  // namespace

EditorDocument::EditorDocument(std::size_t historyLimit)
    : current_(&state_.effect.EmitterAt(0)), history_(historyLimit) {}

std::size_t EditorDocument::CurrentIndex() const {
    return state_.effect.IndexOf(*current_).value_or(0);
}

bool EditorDocument::SelectEmitter(std::size_t index) {
    if (index >= state_.effect.Count()) return false;
    current_ = &state_.effect.EmitterAt(index);
    return true;
}

const FrameBuffer* EditorDocument::BackgroundImage() const {
    if (!state_.backgroundImage || !state_.backgroundImage->colour) return nullptr;
    return &*state_.backgroundImage->colour;
}

// ---- History ---------------------------------------------------------------------------------

std::optional<std::u16string> EditorDocument::UndoName() const {
    if (const EditCommand* step = history_.NextUndo()) return step->Name();
    return std::nullopt;
}

std::optional<std::u16string> EditorDocument::RedoName() const {
    if (const EditCommand* step = history_.NextRedo()) return step->Name();
    return std::nullopt;
}

bool EditorDocument::Undo() {
    EditCommand* step = history_.Undo(state_);
    if (step == nullptr) return false;
    Focus(step->FocusAfter(state_, false));
    return true;
}

bool EditorDocument::Redo() {
    EditCommand* step = history_.Redo(state_);
    if (step == nullptr) return false;
    Focus(step->FocusAfter(state_, true));
    return true;
}

void EditorDocument::Record(std::unique_ptr<EditCommand> command, EditFlow flow) {
    Focus(command->FocusAfter(state_, true));
    history_.Record(std::move(command), flow == EditFlow::kContinuing);
}

void EditorDocument::Focus(Emitter* wanted) {
    Effect& effect = state_.effect;
    if (wanted != nullptr && effect.IndexOf(*wanted)) {
        current_ = wanted;
    } else if (!effect.IndexOf(*current_)) {
        current_ = &effect.EmitterAt(0);
    }
}

// ---- Values ----------------------------------------------------------------------------------

bool EditorDocument::ChangeValues(std::u16string name, const std::function<void(EditedValues&)>& change,
                                  std::optional<std::size_t> mergeRow, EditFlow flow) {
    EditedValues before = ValuesOf(state_.effect, *current_);
    EditedValues after = before;
    change(after);
    if (after == before) return false;
    auto edit = std::make_unique<ValuesEdit>(std::move(name), *current_, std::move(before), std::move(after), mergeRow);
    edit->Apply(state_);
    Record(std::move(edit), flow);
    return true;
}

bool EditorDocument::SetRow(std::size_t row, std::int32_t raw, EditFlow flow) {
    if (row >= kParamCount) return false;
    return ChangeValues(
        RowStepName(row),
        [row, raw](EditedValues& values) {
            if (row >= kEmitterParamCount) {
                values.background[row - kBgR] = raw;
            } else {
                values.params.raw[row] = raw;
            }
        },
        row, flow);
}

bool EditorDocument::SetRows(std::u16string name, const std::vector<std::pair<std::size_t, std::int32_t>>& rows) {
    return ChangeValues(std::move(name), [&rows](EditedValues& values) {
        for (const auto& [row, raw] : rows) {
            if (row >= kBgR && row <= kBgA) {
                values.background[row - kBgR] = raw;
            } else if (row < kEmitterParamCount) {
                values.params.raw[row] = raw;
            }
        }
    });
}

bool EditorDocument::SetType(std::uint32_t type) {
    if (type > kRadial) return false;
    return ChangeValues(step_name::kType, [type](EditedValues& values) { values.params.type = type; });
}

bool EditorDocument::SetBlendingMode(std::uint32_t mode) {
    if (mode > kNormal) return false;
    return ChangeValues(step_name::kBlend, [mode](EditedValues& values) { values.params.blendingMode = mode; });
}

bool EditorDocument::SetSortType(std::uint32_t sortType) {
    if (sortType >= kSortTypeCount) return false;
    return ChangeValues(step_name::kSort,
                        [sortType](EditedValues& values) { orv::SetSortType(values.params, sortType); });
}

bool EditorDocument::SetFlag(EmitterFlag flag, bool on) {
    return ChangeValues(FlagName(flag), [flag, on](EditedValues& values) { FlagOf(values.params, flag) = on; });
}

bool EditorDocument::ResetCurrent() {
    EditedValues before = ValuesOf(state_.effect, *current_);
    EditedValues after = DefaultValues();
    after.params.name = before.params.name;  // not shown, not saved: the list holds the name
    auto edit = std::make_unique<ValuesEdit>(step_name::kReset, *current_, before, after, std::nullopt,
                                             ValuesEdit::Restart::kYes);
    edit->Apply(state_);
    // Defaults already: the emitter restarts all the same, but nothing is recorded.
    if (before == after) return false;
    Record(std::move(edit));
    return true;
}

// ---- Textures --------------------------------------------------------------------------------

bool EditorDocument::ReplaceTexture(TextureSettings after, std::u16string name) {
    const TextureSettings& before = current_->texture;
    if (after.Image() == nullptr) {
        if (SameSettings(after, before)) return false;
        if (const Texture* picture = before.Image()) after.SetImage(CopyTexture(*picture));
    }
    auto edit = std::make_unique<TextureEdit>(std::move(name), *current_, std::move(after));
    edit->Apply(state_);
    Record(std::move(edit));
    return true;
}

bool EditorDocument::DropTexture(const std::u16string& path) {
    TextureSettings after = current_->texture.CopyWithoutImage();
    if (!LoadTexture(after, path)) return false;
    auto edit = std::make_unique<TextureEdit>(step_name::kDroppedTexture, *current_, std::move(after));
    edit->Apply(state_);
    Record(std::move(edit));
    return true;
}

// ---- The emitter list ----------------------------------------------------------------------

bool EditorDocument::AddEmitter(std::u16string name) {
    if (name.empty()) return false;
    Effect& effect = state_.effect;
    const std::size_t index = effect.Count();
    std::unique_ptr<Emitter> emitter = effect.MakeDefaultEmitter();
    Emitter& added = *emitter;
    auto edit = std::make_unique<EmitterPresenceEdit>(EmitterPresenceEdit::Kind::kAdd, index,
                                                      Effect::Entry{std::move(name), std::move(emitter)}, added,
                                                      current_);
    edit->Apply(state_);
    Record(std::move(edit));
    return true;
}

bool EditorDocument::RenameCurrent(std::u16string name) {
    const std::u16string& before = state_.effect.NameAt(CurrentIndex());
    if (name.empty() || name == before) return false;
    auto edit = std::make_unique<RenameEdit>(*current_, before, std::move(name));
    edit->Apply(state_);
    Record(std::move(edit));
    return true;
}

bool EditorDocument::DeleteCurrent() {
    if (state_.effect.Count() < 2) return false;
    auto edit = std::make_unique<EmitterPresenceEdit>(EmitterPresenceEdit::Kind::kDelete, CurrentIndex(),
                                                      Effect::Entry{}, *current_, current_);
    edit->Apply(state_);
    Record(std::move(edit));
    return true;
}

bool EditorDocument::MoveCurrent(MoveEdit::Direction direction) {
    const std::size_t index = CurrentIndex();
    const bool possible =
        direction == MoveEdit::Direction::kUp ? index > 0 : index + 1 < state_.effect.Count();
    if (!possible) return false;
    auto edit = std::make_unique<MoveEdit>(*current_, direction);
    edit->Apply(state_);
    Record(std::move(edit));
    return true;
}

// ---- Seed ------------------------------------------------------------------------------------

bool EditorDocument::SetSeed(std::optional<std::uint64_t> seed) {
    const std::optional<std::uint64_t> before = state_.effect.Seed();
    if (seed == before) return false;
    auto edit = std::make_unique<SeedEdit>(before, seed);
    edit->Apply(state_);
    Record(std::move(edit));
    return true;
}

// ---- Background image ------------------------------------------------------------------------

bool EditorDocument::SetBackgroundImage(TexturePtr image) {
    if (!image || !image->colour) return false;
    auto edit = std::make_unique<BackgroundImageEdit>(std::move(image));
    edit->Apply(state_);
    Record(std::move(edit));
    return true;
}

bool EditorDocument::ReleaseBackgroundImage() {
    if (!state_.backgroundImage) return false;
    auto edit = std::make_unique<BackgroundImageEdit>(nullptr);
    edit->Apply(state_);
    Record(std::move(edit));
    return true;
}

// ---- Files -----------------------------------------------------------------------------------

void EditorDocument::New() {
    // The history goes first: its steps refer to the emitters about to be destroyed.
    history_.Clear();
    state_.filePath.clear();
    state_.effect.RemoveAllEmitters();
    state_.effect.SetSeed(std::nullopt);  // a seed belongs to the file it came from
    state_.effect.EnsureEmitter();
    current_ = &state_.effect.EmitterAt(0);
}

LoadOutcome EditorDocument::Open(std::u16string_view path, FrameSize frame) {
    LoadOutcome outcome = LoadAnyEffect(state_.effect, path, false, frame);
    if (!outcome.loaded) return outcome;
    // The emitters the history referred to are gone with the old effect.
    history_.Clear();
    state_.filePath = IsImportedFormat(path) ? std::u16string() : std::u16string(path);
    current_ = &state_.effect.EmitterAt(outcome.selection < state_.effect.Count() ? outcome.selection : 0);
    return outcome;
}

LoadOutcome EditorDocument::MergeLoad(std::u16string_view path, FrameSize frame) {
    const std::size_t firstAdded = state_.effect.Count();
    FileSide before = FileSide::Of(state_);
    LoadOutcome outcome = LoadAnyEffect(state_.effect, path, true, frame);
    if (!outcome.loaded) return outcome;
    if (!IsImportedFormat(path)) state_.filePath = std::u16string(path);
    Record(std::make_unique<MergeLoadEdit>(firstAdded, std::move(before), state_, current_));
    return outcome;
}

std::optional<EditorMessage> EditorDocument::Save() {
    if (state_.filePath.empty()) return std::nullopt;
    std::optional<EditorMessage> failure = SaveEffect(state_.effect, state_.filePath);
    if (!failure) history_.MarkSaved();
    return failure;
}

std::optional<EditorMessage> EditorDocument::SaveAs(std::u16string path) {
    state_.filePath = std::move(path);
    return Save();
}

bool IsEffectFileName(std::u16string_view path) {
    return vesk::GetExtensionPart(path) == u".orv" || IsImportedFormat(path);
}

std::u16string ProposedSaveName(std::u16string_view currentFile, std::u16string_view lastFolder) {
    if (currentFile.empty()) return std::u16string(lastFolder) + u"untitled.orv";
    return vesk::GetDirectoryPart(currentFile) + vesk::GetFileTitlePart(currentFile) + u".orv";
}

}  // namespace orv
