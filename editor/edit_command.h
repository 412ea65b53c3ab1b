#pragma once

#include <string>

#include "editor/document_state.h"

namespace orv {

// One step of the undo history: an edit that applies and reverts itself on the document's state.
// Emitters are identified by address; an emitter taken out of the effect is kept alive by the
// step that took it, so later steps can still refer to it.
class EditCommand {
public:
    virtual ~EditCommand() = default;

    virtual void Apply(DocumentState& state) = 0;
    virtual void Revert(DocumentState& state) = 0;

    // The emitter the panel edits after Apply or Revert; null keeps the current one.
    virtual Emitter* FocusAfter(DocumentState& state, bool applied) const = 0;

    // The step's name as the undo and redo menu entries show it.
    virtual std::u16string Name() const = 0;

    // Whether the step changes what a save writes; a background image alone does not.
    virtual bool ChangesFile() const { return true; }

    // Takes over `next`, already applied, as the continuation of this step (one drag, one run of
    // arrow-key steps); false when the two stay separate steps.
    virtual bool MergeWith(const EditCommand& /*next*/) { return false; }

    // The step changes nothing (a drag that returned to its start) and can be dropped.
    virtual bool IsObsolete() const { return false; }
};

}  // namespace orv
