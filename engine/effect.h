#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/emitter.h"
#include "engine/settings.h"
#include "engine/simulation.h"
#include "render/frame_buffer.h"

namespace orv {

class FrameDrawer;

// An effect: the ordered list of named emitters plus the background colour. List order is the
// order of stepping, drawing (a later emitter over an earlier one) and saving.
//
// The effect is the listener of the emitters it creates: an emitter whose last particle died is
// re-armed with its own duration, so finite emitters loop. Because emitters keep a pointer to
// it, an effect is neither copied nor moved.
class Effect final : public EmitListener {
public:
    // Holds one default emitter listed as "emitter 01".
    Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;
    ~Effect();

    // The listener to give emitters created for this effect (the effect file reader does).
    EmitListener* Listener() { return this; }

    // "emitter %02d" with a 1-based list position.
    static std::u16string DefaultEmitterName(std::size_t position);
    // The name the add command proposes: DefaultEmitterName(Count() + 1).
    std::u16string ProposedEmitterName() const;

    // A new emitter with this effect as listener, every row at its default (simulation values
    // derived), restarted and re-armed as endless: what the add command appends.
    std::unique_ptr<Emitter> MakeDefaultEmitter();

    std::size_t Count() const { return entries_.size(); }
    Emitter& EmitterAt(std::size_t index) { return *entries_.at(index).emitter; }
    const Emitter& EmitterAt(std::size_t index) const { return *entries_.at(index).emitter; }
    // The name the list shows (what is saved), independent of the emitter's own name field.
    const std::u16string& NameAt(std::size_t index) const { return entries_.at(index).name; }
    std::optional<std::size_t> IndexOf(const Emitter& emitter) const;

    // Appends an emitter; an empty name is replaced by DefaultEmitterName(Count() + 1).
    Emitter& AppendEmitter(std::unique_ptr<Emitter> emitter, std::u16string name);
    // The add command: appends MakeDefaultEmitter() under `name`. An empty name adds nothing.
    Emitter* AddEmitter(std::u16string name);
    // Renames when the name is not empty and differs; true when it changed.
    bool RenameEmitter(std::size_t index, std::u16string name);
    // Removes and destroys an emitter, refused (false) when it is the last one.
    bool DeleteEmitter(std::size_t index);
    // An emitter taken out of the list with its name, and put back: what undoing an add or a
    // delete needs, so the emitter returns with its particles, texture and place.
    struct Entry {
        std::u16string name;
        std::unique_ptr<Emitter> emitter;
    };
    // Removes the entry at `index` (refused, empty, when it is the last one or out of range).
    Entry TakeEmitter(std::size_t index);
    // Inserts at `index` (clamped to the end); an empty name is replaced as AppendEmitter does.
    Emitter& InsertEmitter(std::size_t index, Entry entry);
    // One position earlier / later; false (nothing moves) at the top / bottom.
    bool MoveEmitterUp(std::size_t index);
    bool MoveEmitterDown(std::size_t index);

    // Destroys every emitter. The list stays empty until the caller appends (the file reader
    // does, then calls EnsureEmitter); meanwhile stepping and drawing do nothing.
    void RemoveAllEmitters();
    // Appends one emitter listed as "emitter 01" when the list is empty.
    void EnsureEmitter();

    // Background raw values of rows 56..59 (bg_r, bg_g, bg_b, bg_a).
    std::int32_t BackgroundRaw(std::size_t row) const { return background_.at(row - kBgR); }
    void SetBackgroundRaw(std::size_t row, std::int32_t raw) { background_.at(row - kBgR) = raw; }
    // The background as a pixel: each fraction x 255.0 clamped to 0..255 and truncated,
    // 0xAARRGGBB.
    std::uint32_t BackgroundColour() const;

    // The seed that fixes the random draws from every restart on ("seed" in the file); none
    // leaves the generator where earlier draws left it.
    const std::optional<std::uint64_t>& Seed() const { return seed_; }
    void SetSeed(std::optional<std::uint64_t> seed) { seed_ = seed; }

    // With a seed, first sets the random generator from it (SeedRandom). Then for every emitter
    // in list order: live count 0, restart, re-arm with its own duration and take the snapshot's
    // interpolation. What a render job does before its first frame.
    void RestartAllEmitters(const SettingsSnapshot& settings);

    // One rendered frame: the background colour (with its alpha) in every pixel, then every
    // emitter positioned at the frame's centre plus its offsets, stepped by dt and drawn with
    // the transparent-target operations, on the snapshot's code path (the frame's size is the
    // target's). Returns whether any emitter drew.
    bool RenderFrame(double dt, FrameBuffer& target, const SettingsSnapshot& settings);
    // The same, drawn band by band on the drawer's threads, to the same bits.
    bool RenderFrame(double dt, FrameBuffer& target, const SettingsSnapshot& settings, FrameDrawer& drawer);

    // Steps every emitter in list order by dt without drawing it: positioned in a frame of the
    // snapshot's size, with the snapshot's interpolation when `takeInterpolation`, and sorted
    // when there is a target. Returns what the steps of StepEmitter would return together (some
    // step drew or was held in its delay) and lists in `toDraw`, in drawing order, the emitters
    // whose sprites the frame shows; a FrameDrawer draws them, band by band if need be. The
    // particles' updates may run through `runTasks` (see EmitterStepper).
    bool StepEmitters(double dt, const FrameBuffer* target, const SettingsSnapshot& settings,
                      bool takeInterpolation, std::vector<const Emitter*>& toDraw,
                      const TaskRunner& runTasks = {});

    // The steps of RenderFrame without the drawing, leaving every emitter (particles, their order,
    // the random generator) exactly as RenderFrame would: the frames after it come out the same.
    void SimulateFrame(double dt, const SettingsSnapshot& settings);

    // EmitListener: re-arms an emitter of this effect with its own duration.
    void OnEmitterEmpty(Emitter& emitter) override;

private:
    // Every emitter in list order, positioned in a frame of the snapshot's size and, when
    // `takeInterpolation`, with its interpolation (placed_, until the next call).
    const std::vector<Emitter*>& PlaceEmitters(const SettingsSnapshot& settings, bool takeInterpolation);

    std::vector<Entry> entries_;
    std::array<std::int32_t, kBackgroundParamCount> background_{};
    std::optional<std::uint64_t> seed_;
    // Kept from frame to frame so that stepping allocates nothing.
    std::vector<Emitter*> placed_;
    EmitterStepper stepper_;
};

}  // namespace orv
