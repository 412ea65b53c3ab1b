#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/document_state.h"
#include "editor/emitter_list_edits.h"
#include "editor/undo_history.h"
#include "editor/values_edit.h"
#include "effectfile/editor_message.h"
#include "effectfile/effect_loading.h"
#include "interop/particle_files.h"

namespace orv {

// How an edit joins the history: a step of its own, or the continuation of the last step when
// that edited the same row of the same emitter (one slider drag, one run of arrow-key or wheel
// steps).
enum class EditFlow { kSingle, kContinuing };

enum class EmitterFlag { kEnableColor, kColorConstant, kTextureDirection };

// The document the editor works on: the effect, the emitter the panel edits, the current file,
// the background image, and the undo history with the modified state. Every change goes through
// here as a step that can be undone; the widgets translate their signals into these calls and
// show what the document holds.
class EditorDocument {
public:
    explicit EditorDocument(std::size_t historyLimit = UndoHistory::kDefaultLimit);

    Effect& GetEffect() { return state_.effect; }
    const Effect& GetEffect() const { return state_.effect; }
    Emitter& Current() { return *current_; }
    const Emitter& Current() const { return *current_; }
    std::size_t CurrentIndex() const;
    // Makes the emitter at `index` the one edited (not an edit itself); false when out of range.
    bool SelectEmitter(std::size_t index);
    const std::u16string& FilePath() const { return state_.filePath; }
    const FrameBuffer* BackgroundImage() const;

    // ---- History and modified state -----------------------------------------------------------
    bool IsModified() const { return history_.IsModified(); }
    bool CanUndo() const { return history_.NextUndo() != nullptr; }
    bool CanRedo() const { return history_.NextRedo() != nullptr; }
    std::optional<std::u16string> UndoName() const;
    std::optional<std::u16string> RedoName() const;
    bool Undo();
    bool Redo();
    // The next edit starts a step of its own (a slider was released).
    void EndMerging() { history_.EndMerging(); }

    // ---- Edits of the current emitter; each returns false when nothing changed ------------------
    // A row of the current emitter, or of the background colour (rows 56 to 59).
    bool SetRow(std::size_t row, std::int32_t raw, EditFlow flow = EditFlow::kSingle);
    // Several rows as one step named `name` (the preview's double-click and selection commands).
    bool SetRows(std::u16string name, const std::vector<std::pair<std::size_t, std::int32_t>>& rows);
    bool SetType(std::uint32_t type);
    bool SetBlendingMode(std::uint32_t mode);
    bool SetSortType(std::uint32_t sortType);
    bool SetFlag(EmitterFlag flag, bool on);
    // The reset button: the current emitter and the background colour to their defaults, the
    // emitter restarted as endless (also when its values were the defaults already).
    bool ResetCurrent();
    // The texture dialog's result, built on the current texture's CopyWithoutImage: `after`
    // without a picture keeps the emitter's picture.
    bool ReplaceTexture(TextureSettings after, std::u16string name);
    // A picture dropped on the window; false when it does not load.
    bool DropTexture(const std::u16string& path);

    // ---- The emitter list ---------------------------------------------------------------------
    bool AddEmitter(std::u16string name);
    bool RenameCurrent(std::u16string name);
    // Refused while the current emitter is the only one.
    bool DeleteCurrent();
    bool MoveCurrent(MoveEdit::Direction direction);

    // ---- The effect's seed ----------------------------------------------------------------------
    // Fixes the random draws from every restart on, or (none) lets them run on; false when the
    // seed is that already.
    bool SetSeed(std::optional<std::uint64_t> seed);

    // ---- Background image ---------------------------------------------------------------------
    bool SetBackgroundImage(TexturePtr image);
    bool ReleaseBackgroundImage();

    // ---- Files --------------------------------------------------------------------------------
    // One default emitter, no seed, no current file, a fresh history; background colour and
    // image stay.
    void New();
    // Replaces the effect with a file's (.orv, or another tool's file imported for a frame of
    // `frame`); on success the history starts afresh and an .orv file becomes the current file.
    // An imported file never does, since Save writes .orv only. A file that fails leaves
    // everything as it was.
    LoadOutcome Open(std::u16string_view path, FrameSize frame);
    // Appends a file's emitters, as a step that can be undone.
    LoadOutcome MergeLoad(std::u16string_view path, FrameSize frame);
    // Writes the current file; nothing happens without one. The message is the failure's.
    std::optional<EditorMessage> Save();
    // `path` becomes the current file, then as Save.
    std::optional<EditorMessage> SaveAs(std::u16string path);

private:
    bool ChangeValues(std::u16string name, const std::function<void(EditedValues&)>& change,
                      std::optional<std::size_t> mergeRow = std::nullopt, EditFlow flow = EditFlow::kSingle);
    void Record(std::unique_ptr<EditCommand> command, EditFlow flow = EditFlow::kSingle);
    void Focus(Emitter* wanted);

    DocumentState state_;
    Emitter* current_;  // always one of the effect's emitters
    UndoHistory history_;
};

// Whether a dropped file opens as an effect (".orv", or another tool's particle file, in any
// case) rather than as a texture.
bool IsEffectFileName(std::u16string_view path);

// The name Save As proposes: the current file with the extension ".orv", else "untitled.orv" in
// `lastFolder` (a folder with its trailing separator, or empty).
std::u16string ProposedSaveName(std::u16string_view currentFile, std::u16string_view lastFolder);

}  // namespace orv
