#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <stdexcept>
#include <string>

#include "export/animation_timing.h"
#include "export/frame_sink.h"
#include "export/sink_file.h"

namespace orv {
namespace {

struct AnimEncoderDelete {
    void operator()(WebPAnimEncoder* encoder) const noexcept { WebPAnimEncoderDelete(encoder); }
};

struct PictureFree {
    void operator()(WebPPicture* picture) const noexcept { WebPPictureFree(picture); }
};

int TimestampMs(std::uint64_t frame, std::uint32_t framesPerSecond) {
    return static_cast<int>(FrameStart(frame, framesPerSecond, 1000));
}

// One animated WebP through libwebp's animation encoder, looping forever, lossless by default
// (with the exact colours under transparent pixels) or lossy at the asked quality. The encoder
// keeps every frame it has encoded, compressed, until the file is assembled at the end: that is
// how its API works. The raw frame is copied into one picture at a time.
class AnimatedWebpSink final : public FrameSink {
public:
    explicit AnimatedWebpSink(const FrameSinkSetup& setup)
        : setup_(setup), file_(setup.folder + setup.title + u".webp") {
        CheckFrameCount(setup.frameCount, std::uint64_t{INT_MAX} / 1000 * setup.framesPerSecond - 1, "WebP");
        WebPAnimEncoderOptions options;
        if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config_)) {
            throw std::runtime_error("libwebp does not match the version it was built against");
        }
        options.anim_params.loop_count = 0;  // forever
        options.anim_params.bgcolor = 0;     // transparent
        if (setup.webpQuality) {
            config_.lossless = 0;
            config_.quality = static_cast<float>(*setup.webpQuality);
        } else {
            // Lossless preset 4 of 9: on 60 frames of the fire example at 800 x 600 it took a fifth
            // of the time of libwebp's lossless default and made the file no larger.
            if (!WebPConfigLosslessPreset(&config_, 4)) throw std::runtime_error(Failure("libwebp refuses its preset"));
            config_.exact = 1;  // the colour under fully transparent pixels too
        }
        encoder_.reset(WebPAnimEncoderNew(static_cast<int>(setup.width), static_cast<int>(setup.height), &options));
        if (!encoder_) throw std::runtime_error(Failure("the encoder cannot be created"));
    }

    std::vector<std::u16string> Files() const override { return {file_.Name()}; }

protected:
    void Take(std::uint64_t index, const FrameBuffer& frame) override {
        WebPPicture picture;
        if (!WebPPictureInit(&picture)) throw std::runtime_error(Failure("libwebp version mismatch"));
        picture.use_argb = 1;
        picture.width = static_cast<int>(frame.Width());
        picture.height = static_cast<int>(frame.Height());
        if (!WebPPictureAlloc(&picture)) throw std::bad_alloc();
        const std::unique_ptr<WebPPicture, PictureFree> owner(&picture);
        // libwebp's ARGB words are the frame's own 0xAARRGGBB, straight alpha.
        for (std::uint32_t y = 0; y < frame.Height(); ++y) {
            std::copy(frame.Row(y), frame.Row(y) + frame.Width(),
                      picture.argb + static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.argb_stride));
        }
        if (!WebPAnimEncoderAdd(encoder_.get(), &picture, TimestampMs(index, setup_.framesPerSecond), &config_)) {
            throw std::runtime_error(Failure(WebPAnimEncoderGetError(encoder_.get())));
        }
    }

    void Finish() override {
        const int end = TimestampMs(setup_.frameCount, setup_.framesPerSecond);
        WebPData data;
        WebPDataInit(&data);
        if (!WebPAnimEncoderAdd(encoder_.get(), nullptr, end, nullptr) ||
            !WebPAnimEncoderAssemble(encoder_.get(), &data)) {
            throw std::runtime_error(Failure(WebPAnimEncoderGetError(encoder_.get())));
        }
        encoder_.reset();  // the encoded frames go before the file is written
        const std::unique_ptr<WebPData, void (*)(WebPData*)> owner(&data, WebPDataClear);
        file_.Write(data.bytes, data.size);
        file_.Commit();
    }

private:
    std::string Failure(const char* reason) const {
        return FileFailure(file_.Name(), reason != nullptr ? reason : "libwebp failed");
    }

    const FrameSinkSetup setup_;
    SinkFile file_;
    WebPConfig config_{};
    std::unique_ptr<WebPAnimEncoder, AnimEncoderDelete> encoder_;
};

}  // namespace

std::unique_ptr<FrameSink> MakeAnimatedWebpSink(const FrameSinkSetup& setup) {
    return std::make_unique<AnimatedWebpSink>(setup);
}

}  // namespace orv
