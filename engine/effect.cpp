#include "engine/effect.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "engine/emitter_drawing.h"
#include "engine/frame_drawer.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "render/background.h"
#include "render/frame_composition.h"

namespace orv {

Effect::Effect() {
    EnsureEmitter();
}

// The emitters, which report to this effect, go with it.
Effect::~Effect() = default;

std::u16string Effect::DefaultEmitterName(std::size_t position) {
    char text[32];
    std::snprintf(text, sizeof text, "emitter %02zu", position);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

std::u16string Effect::ProposedEmitterName() const {
    return DefaultEmitterName(Count() + 1);
}

std::unique_ptr<Emitter> Effect::MakeDefaultEmitter() {
    auto emitter = std::make_unique<Emitter>(Listener());
    ApplyRawValues(*emitter);
    RestartEmitter(*emitter);
    RearmEmitter(*emitter, 0);
    return emitter;
}

std::optional<std::size_t> Effect::IndexOf(const Emitter& emitter) const {
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        if (entries_[index].emitter.get() == &emitter) return index;
    }
    return std::nullopt;
}

Emitter& Effect::AppendEmitter(std::unique_ptr<Emitter> emitter, std::u16string name) {
    return InsertEmitter(Count(), Entry{std::move(name), std::move(emitter)});
}

Emitter* Effect::AddEmitter(std::u16string name) {
    if (name.empty()) return nullptr;
    return &AppendEmitter(MakeDefaultEmitter(), std::move(name));
}

bool Effect::RenameEmitter(std::size_t index, std::u16string name) {
    if (index >= entries_.size() || name.empty() || name == entries_[index].name) return false;
    entries_[index].name = std::move(name);
    return true;
}

bool Effect::DeleteEmitter(std::size_t index) {
    return TakeEmitter(index).emitter != nullptr;
}

Effect::Entry Effect::TakeEmitter(std::size_t index) {
    // The list is never left empty.
    if (index >= entries_.size() || entries_.size() < 2) return {};
    Entry entry = std::move(entries_[index]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    return entry;
}

Emitter& Effect::InsertEmitter(std::size_t index, Entry entry) {
    if (entry.name.empty()) entry.name = DefaultEmitterName(Count() + 1);
    const std::size_t at = std::min(index, entries_.size());
    return *entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry))->emitter;
}

bool Effect::MoveEmitterUp(std::size_t index) {
    if (index == 0 || index >= entries_.size()) return false;
    std::swap(entries_[index], entries_[index - 1]);
    return true;
}

bool Effect::MoveEmitterDown(std::size_t index) {
    if (index + 1 >= entries_.size()) return false;
    std::swap(entries_[index], entries_[index + 1]);
    return true;
}

void Effect::RemoveAllEmitters() {
    entries_.clear();
}

void Effect::EnsureEmitter() {
    if (entries_.empty()) AppendEmitter(MakeDefaultEmitter(), DefaultEmitterName(1));
}

std::uint32_t Effect::BackgroundColour() const {
    return orv::BackgroundColour(background_[0], background_[1], background_[2], background_[3]);
}

void Effect::RestartAllEmitters(const SettingsSnapshot& settings) {
    if (seed_) SeedRandom(*seed_);
    const std::uint32_t interpolation = settings.interpolateType;
    for (Entry& entry : entries_) {
        Emitter& emitter = *entry.emitter;
        emitter.runtime.liveCount = 0;
        RestartEmitter(emitter);
        RearmEmitter(emitter, DurationSeconds(emitter));
        if (interpolation <= 1) emitter.runtime.interpolation = interpolation;
    }
}

bool Effect::StepEmitters(double dt, const FrameBuffer* target, const SettingsSnapshot& settings,
                          bool takeInterpolation, std::vector<const Emitter*>& toDraw,
                          const TaskRunner& runTasks) {
    const std::vector<Emitter*>& emitters = PlaceEmitters(settings, takeInterpolation);
    const std::vector<bool>& advanced = stepper_.Advance(emitters, dt, target != nullptr, runTasks);
    toDraw.clear();
    bool drawn = false;
    for (std::size_t i = 0; i < emitters.size(); ++i) {
        // An emitter held in its delay counts as drawn but shows nothing.
        if (!advanced[i]) {
            drawn = true;
        } else if (CanDrawEmitter(*emitters[i], target)) {
            toDraw.push_back(emitters[i]);
            drawn = true;
        }
    }
    return drawn;
}

const std::vector<Emitter*>& Effect::PlaceEmitters(const SettingsSnapshot& settings, bool takeInterpolation) {
    placed_.clear();
    for (Entry& entry : entries_) {
        Emitter& emitter = *entry.emitter;
        SetEmitterOrigin(emitter, settings.frameWidth, settings.frameHeight);
        if (takeInterpolation && settings.interpolateType <= 1) {
            emitter.runtime.interpolation = settings.interpolateType;
        }
        placed_.push_back(&emitter);
    }
    return placed_;
}

bool Effect::RenderFrame(double dt, FrameBuffer& target, const SettingsSnapshot& settings) {
    FrameDrawer callerOnly(1);
    return RenderFrame(dt, target, settings, callerOnly);
}

bool Effect::RenderFrame(double dt, FrameBuffer& target, const SettingsSnapshot& settings,
                         FrameDrawer& drawer) {
    drawer.Rouse();
    // Stepping draws random numbers and must keep its order: it runs here, before any drawing.
    std::vector<const Emitter*> toDraw;
    const bool drawn = StepEmitters(dt, &target, settings, false, toDraw, drawer.Tasks());
    const std::uint32_t colour = BackgroundColour();
    drawer.Begin(&target, false, settings);
    drawer.Add(toDraw);
    drawer.Draw(target.Height(), [&](const RowBand& band) {
        ClearFrame(target, colour, settings.sse2, band);
        drawer.DrawSprites(band);
    });
    return drawn;
}

void Effect::SimulateFrame(double dt, const SettingsSnapshot& settings) {
    // Sorted as for drawing: the pool's order decides the order of later frames' sprites.
    stepper_.Advance(PlaceEmitters(settings, false), dt, true, {});
}

void Effect::OnEmitterEmpty(Emitter& emitter) {
    if (IndexOf(emitter)) RearmEmitter(emitter, DurationSeconds(emitter));
}

}  // namespace orv
