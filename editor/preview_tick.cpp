#include "editor/preview_tick.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "editor/settings_rules.h"
#include "editor/window_title.h"
#include "engine/emitter_drawing.h"
#include "engine/simulation.h"
#include "render/background.h"
#include "render/frame_composition.h"

namespace orv {

namespace {

constexpr std::uint32_t kTicksPerTitle = 100;

PixelRect WholeOf(const FrameBuffer& buffer) {
    return {0, 0, static_cast<std::int32_t>(buffer.Width()), static_cast<std::int32_t>(buffer.Height())};
}

void EnsureSize(FrameBuffer& buffer, std::uint32_t width, std::uint32_t height) {
    if (buffer.Empty() || buffer.Width() != width || buffer.Height() != height) buffer.Create(width, height);
}

// What StepEmitters would list and return for the emitters as they are, without stepping them: the
// emitters that can draw, in list order, and whether any can draw or waits in its delay.
bool ListShownEmitters(Effect& effect, const FrameBuffer* target, const SettingsSnapshot& settings,
                       std::vector<const Emitter*>& toDraw) {
    toDraw.clear();
    bool drawn = false;
    for (std::size_t index = 0; index < effect.Count(); ++index) {
        Emitter& emitter = effect.EmitterAt(index);
        // The sampling may have been changed meanwhile; the next step takes it all the same.
        if (settings.interpolateType <= 1) emitter.runtime.interpolation = settings.interpolateType;
        if (InDelay(emitter.runtime)) {
            drawn = true;
        } else if (CanDrawEmitter(emitter, target)) {
            toDraw.push_back(&emitter);
            drawn = true;
        }
    }
    return drawn;
}

}  // namespace

// A background image smaller than the frame refreshes only its own area; the rest is cleared to
// the background colour first, so sprites of earlier frames do not linger beside the image.
void DrawPreviewBackground(FrameBuffer& preview, const FrameBuffer* image, std::uint32_t colour, bool sse2) {
    DrawPreviewBackground(preview, image, colour, sse2, AllRows(preview));
}

void DrawPreviewBackground(FrameBuffer& preview, const FrameBuffer* image, std::uint32_t colour, bool sse2,
                           const RowBand& band) {
    if (image != nullptr && !image->Empty() &&
        (image->Width() < preview.Width() || image->Height() < preview.Height())) {
        ClearFrame(preview, colour, sse2, band);
    }
    DrawBackground(preview, image, colour, sse2, band);
}

PreviewTicker::PreviewTicker(MillisecondClock clock) : clock_(std::move(clock)) {}

TickResult PreviewTicker::Tick(Effect& effect, const TickInputs& inputs, double speed) {
    if (!lastTick_) {
        lastTick_ = clock_();
        TickResult result;
        result.tickStart = *lastTick_;
        return result;
    }

    const std::uint32_t now = clock_();
    const std::uint32_t elapsed = now - *lastTick_;
    // Every speed is a power of two, so at 1 x the step is exactly the elapsed seconds.
    TickResult result = Compose(effect, inputs, elapsed / 1000.0 * speed);

    processingMs_ += clock_() - now;
    if (++tickCount_ >= kTicksPerTitle) {
        result.maxFrameRate = MaxFrameRate(processingMs_);
        result.title = FrameRateTitle(inputs.currentFile, *result.maxFrameRate);
        tickCount_ = 0;
        processingMs_ = 0;
    }

    lastTick_ = now;
    result.tickStart = now;
    return result;
}

TickResult PreviewTicker::Step(Effect& effect, const TickInputs& inputs, double dt) {
    TickResult result = Compose(effect, inputs, dt);
    result.tickStart = clock_();
    return result;
}

TickResult PreviewTicker::Redraw(Effect& effect, const TickInputs& inputs) {
    TickResult result = Compose(effect, inputs, std::nullopt);
    result.repaint = true;  // whatever it shows replaces the frame on screen
    result.tickStart = clock_();
    return result;
}

TickResult PreviewTicker::Compose(Effect& effect, const TickInputs& inputs, std::optional<double> dt) {
    const SettingsSnapshot& settings = inputs.settings;
    const bool sse2 = settings.sse2;
    const bool layered = settings.drawType == 1;
    const std::uint32_t colour = effect.BackgroundColour();

    EnsureSize(work_, settings.frameWidth, settings.frameHeight);
    FrameBuffer* const preview = inputs.preview;
    FrameBuffer* target = preview;
    if (layered) target = work_.Empty() ? nullptr : &work_;

    if (!drawer_ || drawer_->Threads() != DrawingPool::ResolveThreads(settings.drawingThreads)) {
        drawer_ = std::make_unique<FrameDrawer>(settings.drawingThreads);
    }
    drawer_->Rouse();
    // Stepping draws random numbers and must keep its order: all of it before any drawing.
    const bool drawn = dt ? effect.StepEmitters(*dt, target, settings, true, toDraw_, drawer_->Tasks())
                          : ListShownEmitters(effect, target, settings, toDraw_);

    drawer_->Begin(target, !layered, settings);
    drawer_->Add(toDraw_);
    // The work buffer and the preview are both walked from their first row, so a band holds the
    // same rows of either.
    const std::uint32_t rows = std::max(preview != nullptr ? preview->Height() : 0u, work_.Height());
    drawer_->Draw(rows, [&](const RowBand& band) {
        if (layered) ClearFrame(work_, colour, sse2, band);
        if (preview != nullptr) DrawPreviewBackground(*preview, inputs.backgroundImage, colour, sse2, band);
        drawer_->DrawSprites(band);
        if (layered && preview != nullptr && drawn) {
            CompositeOver(*preview, WholeOf(*preview), work_, WholeOf(work_), sse2, band);
        }
    });

    TickResult result;
    result.stepped = dt.has_value();
    result.seconds = dt.value_or(0.0);
    result.drawn = drawn;
    // Once nothing draws any more (a new effect, a texture removed), one more repaint shows the
    // bare background instead of freezing the last particles on screen.
    result.repaint = drawn || shownSprites_;
    shownSprites_ = drawn;
    return result;
}

std::uint32_t PreviewTicker::NextPeriodMs(const TickResult& tick, std::uint32_t framesPerSecond) const {
    const std::uint32_t framePeriod = TimerPeriodMs(framesPerSecond);
    if (!tick.stepped) return framePeriod;
    return NextTimerPeriod(tick.tickStart, clock_(), framePeriod);
}

std::u16string FrameRateTitle(std::u16string_view currentFile, std::uint32_t rate) {
    return WindowTitle(currentFile, rate, false);
}

std::uint32_t MaxFrameRate(std::uint32_t summedMs) {
    return 100000 / (summedMs == 0 ? 1 : summedMs);
}

std::uint32_t NextTimerPeriod(std::uint32_t tickStart, std::uint32_t now, std::uint32_t framePeriodMs) {
    // Signed, so a tick that overran its slot re-arms at once instead of wrapping around.
    const std::int64_t remaining =
        static_cast<std::int64_t>(framePeriodMs) - static_cast<std::int32_t>(now - tickStart);
    return remaining < 1 ? 1u : static_cast<std::uint32_t>(remaining);
}

}  // namespace orv
