#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/effect.h"
#include "engine/settings.h"
#include "engine/frame_drawer.h"
#include "render/frame_buffer.h"

namespace orv {

// A monotonic clock in milliseconds; it may wrap around like any 32-bit tick count.
using MillisecondClock = std::function<std::uint32_t()>;

// What one preview tick asks of its window.
struct TickResult {
    bool stepped = false;         // the emitters were stepped (false on the tick that starts the timing)
    bool drawn = false;           // some emitter drew: the preview view must be repainted now
    bool repaint = false;         // drawn, or the view still shows sprites of the previous tick
    double seconds = 0;           // how far the emitters were stepped
    std::uint32_t tickStart = 0;  // the clock when the tick began
    std::optional<std::u16string> title;  // new window title, every 100 stepped ticks
    std::optional<std::uint32_t> maxFrameRate;  // the rate that title shows
};

// Everything a preview tick needs besides the effect.
struct TickInputs {
    FrameBuffer* preview = nullptr;                // the view's buffer; may be absent
    const FrameBuffer* backgroundImage = nullptr;  // may be absent
    std::u16string_view currentFile;               // empty while no file is current
    SettingsSnapshot settings;                     // frame size, sampling, code path, drawing mode
};

// The preview's frame loop without a window: timing, the work buffer, the two drawing modes,
// the background, stepping every emitter in list order, compositing and the frame-rate title.
class PreviewTicker {
public:
    explicit PreviewTicker(MillisecondClock clock);

    // One timer tick, drawn with the inputs' settings: the emitters are stepped by the time
    // elapsed since the last tick, times `speed`.
    TickResult Tick(Effect& effect, const TickInputs& inputs, double speed = 1.0);

    // One step of `dt` seconds, drawn, outside the timer's rhythm (the timing is left alone).
    TickResult Step(Effect& effect, const TickInputs& inputs, double dt);

    // The frame drawn again from the emitters as they are, without stepping them: a paused
    // preview shows an edit of the texture, blending or background at once, and stepping on
    // afterwards gives the frames it would have given.
    TickResult Redraw(Effect& effect, const TickInputs& inputs);

    // The period to re-arm the single-shot timer with once the tick's work, the repaint included,
    // is done: the remaining time to the next frame slot at `framesPerSecond`, at least 1 ms.
    std::uint32_t NextPeriodMs(const TickResult& tick, std::uint32_t framesPerSecond) const;

    // The next tick only records the time (after start-up and after the panel's reset).
    void RestartTiming() { lastTick_.reset(); }

    // The buffer sprites are drawn into with the transparent-target operations (draw type 1).
    const FrameBuffer& WorkBuffer() const { return work_; }

private:
    // Steps by `dt` (or, without one, only lists what the emitters show now) and draws the frame.
    TickResult Compose(Effect& effect, const TickInputs& inputs, std::optional<double> dt);

    MillisecondClock clock_;
    std::optional<std::uint32_t> lastTick_;
    FrameBuffer work_;
    // Made at the first tick and again when the snapshot asks for another number of threads.
    std::unique_ptr<FrameDrawer> drawer_;
    std::vector<const Emitter*> toDraw_;
    bool shownSprites_ = false;  // the last repaint showed sprites
    std::uint32_t tickCount_ = 0;
    std::uint32_t processingMs_ = 0;
};

// The preview's background: the image at the top-left corner when there is one (the rest of a
// larger frame in the background colour), otherwise the colour everywhere; in all rows or in
// those of one band.
void DrawPreviewBackground(FrameBuffer& preview, const FrameBuffer* image, std::uint32_t colour, bool sse2);
void DrawPreviewBackground(FrameBuffer& preview, const FrameBuffer* image, std::uint32_t colour, bool sse2,
                           const RowBand& band);

// "orv - <file name> - MAX FPS <rate>\n", or "orv - MAX FPS <rate>\n" without a current file.
std::u16string FrameRateTitle(std::u16string_view currentFile, std::uint32_t rate);

// The rate the processing alone would allow over 100 ticks: 100000 / sum, a sum of 0 taken as 1.
std::uint32_t MaxFrameRate(std::uint32_t summedMs);

// The period that aims the next tick at the next frame slot measured from this tick's start:
// max(1, tickStart + framePeriod - now) milliseconds.
std::uint32_t NextTimerPeriod(std::uint32_t tickStart, std::uint32_t now, std::uint32_t framePeriodMs);

}  // namespace orv
