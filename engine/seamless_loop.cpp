#include "engine/seamless_loop.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

#include "engine/emitter_drawing.h"
#include "render/frame_composition.h"

namespace orv {

std::uint64_t DefaultLoopWarmUpSteps(const Effect& effect, double dt) {
    double seconds = 0;
    for (std::size_t i = 0; i < effect.Count(); ++i) {
        const EmitterValues& values = effect.EmitterAt(i).values;
        seconds = std::max(seconds, values.lifespan + std::fabs(values.lifespanVariance) + values.delay);
    }
    const double steps = std::ceil(seconds / dt);
    return steps > 0 ? static_cast<std::uint64_t>(steps) : 0;
}

SeamlessLoop::SeamlessLoop(Effect& effect, const SettingsSnapshot& settings, double dt,
                           std::uint64_t warmUpSteps, std::uint64_t length,
                           const std::function<bool()>& stopRequested)
    : effect_(effect), settings_(settings), dt_(dt), gathered_(effect.Count()) {
    effect_.RestartAllEmitters(settings_);
    // One simulation runs ahead; the copies are taken from it on the way. `steps` counts its steps
    // since the restart: step t of the loop's description lies t + 1 steps after the restart.
    std::uint64_t steps = 0;
    const auto advanceTo = [&](std::uint64_t target) {
        for (; steps < target && !stopped_; ++steps) {
            effect_.SimulateFrame(dt_, settings_);
            stopped_ = stopRequested();
        }
        return !stopped_;
    };
    const auto births = [&] {
        std::vector<std::uint64_t> counts;
        for (std::size_t i = 0; i < effect_.Count(); ++i)
            counts.push_back(effect_.EmitterAt(i).runtime.births);
        return counts;
    };

    // Copy 0 draws step W at frame 0, so it stands one step before; no window particle lives yet.
    if (!advanceTo(warmUpSteps)) return;
    copies_.push_back(TakeCopy());
    if (!advanceTo(warmUpSteps + 1)) return;
    windowStart_ = births();
    windowEnd_ = windowStart_;  // nothing is in the window until it has closed
    std::size_t bytes = CopyBytes(copies_.front());
    for (std::uint64_t k = 1;; ++k) {
        if (!advanceTo(warmUpSteps + k * length)) return;
        Copy copy = TakeCopy();
        if (!advanceTo(warmUpSteps + k * length + 1)) return;
        if (k == 1) windowEnd_ = births();
        // From here on the window has closed: its particles only die, so a copy showing none at
        // frame 0 shows none later, and neither do the copies after it.
        if (!ShowsWindowParticles()) break;
        bytes += CopyBytes(copy);
        if (bytes > kMaxLoopCopyBytes) {
            throw std::length_error("a seamless loop of " + std::to_string(length) +
                                    " frames needs more than 1 GiB for copies of the simulation; make "
                                    "the loop longer or the lifespans shorter");
        }
        copies_.push_back(std::move(copy));
    }
}

SeamlessLoop::~SeamlessLoop() {
    if (!stopped_ && !copies_.empty()) Swap(copies_.front());
}

SeamlessLoop::Copy SeamlessLoop::TakeCopy() const {
    Copy copy;
    for (std::size_t i = 0; i < effect_.Count(); ++i) copy.runtimes.push_back(effect_.EmitterAt(i).runtime);
    copy.generator = RandomState();
    return copy;
}

void SeamlessLoop::Swap(Copy& copy) {
    for (std::size_t i = 0; i < effect_.Count(); ++i)
        std::swap(effect_.EmitterAt(i).runtime, copy.runtimes[i]);
    const Xorshift128 generator = RandomState();
    SetRandomState(copy.generator);
    copy.generator = generator;
}

std::size_t SeamlessLoop::CopyBytes(const Copy& copy) const {
    std::size_t bytes = 0;
    for (const EmitterRuntime& runtime : copy.runtimes) bytes += runtime.pool.capacity() * sizeof(Particle);
    return bytes;
}

bool SeamlessLoop::InWindow(std::size_t emitter, const Particle& particle) const {
    return particle.birth >= windowStart_[emitter] && particle.birth < windowEnd_[emitter];
}

bool SeamlessLoop::ShowsWindowParticles() const {
    for (std::size_t i = 0; i < effect_.Count(); ++i) {
        const EmitterRuntime& runtime = effect_.EmitterAt(i).runtime;
        for (std::int32_t p = 0; p < runtime.liveCount; ++p) {
            if (InWindow(i, runtime.pool[p])) return true;
        }
    }
    return false;
}

void SeamlessLoop::SimulateFrame() {
    for (Copy& copy : copies_) {
        Swap(copy);
        effect_.SimulateFrame(dt_, settings_);
        Swap(copy);
    }
}

void SeamlessLoop::RenderFrame(FrameBuffer& target, FrameDrawer& drawer) {
    for (std::vector<Particle>& particles : gathered_) particles.clear();
    std::vector<const Emitter*> toDraw;
    for (Copy& copy : copies_) {
        Swap(copy);
        effect_.StepEmitters(dt_, &target, settings_, false, toDraw);
        for (const Emitter* emitter : toDraw) {
            const std::size_t index = *effect_.IndexOf(*emitter);
            const EmitterRuntime& runtime = emitter->runtime;
            std::copy_if(runtime.pool.begin(), runtime.pool.begin() + runtime.liveCount,
                         std::back_inserter(gathered_[index]),
                         [&](const Particle& particle) { return InWindow(index, particle); });
        }
        Swap(copy);
    }
    for (std::size_t i = 0; i < gathered_.size(); ++i) SortParticles(effect_.EmitterAt(i), gathered_[i]);

    const std::uint32_t colour = effect_.BackgroundColour();
    drawer.Begin(&target, false, settings_);
    for (std::size_t i = 0; i < gathered_.size(); ++i) drawer.Add(effect_.EmitterAt(i), gathered_[i]);
    drawer.Draw(target.Height(), [&](const RowBand& band) {
        ClearFrame(target, colour, settings_.sse2, band);
        drawer.DrawSprites(band);
    });
}

}  // namespace orv
