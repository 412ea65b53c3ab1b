#include "engine/texture_settings.h"

#include <numeric>

namespace orv {

TextureSettings TextureSettings::CopyWithoutImage() const {
    TextureSettings copy;
    copy.fileName_ = fileName_;
    copy.splitX_ = splitX_;
    copy.splitY_ = splitY_;
    copy.isAnimation_ = isAnimation_;
    copy.frameDurations_ = frameDurations_;
    copy.totalAnimationTime_ = totalAnimationTime_;
    copy.frameCount_ = frameCount_;
    copy.UpdateFrameSize();
    return copy;
}

void TextureSettings::SetImage(TexturePtr image) {
    image_ = std::move(image);
    UpdateFrameSize();
}

void TextureSettings::SetFileName(std::u16string fileName) {
    if (fileName.size() > kMaxFileNameLength) fileName.resize(kMaxFileNameLength);
    fileName_ = std::move(fileName);
}

void TextureSettings::SetSplitX(std::uint32_t split) {
    splitX_ = split == 0 ? 1 : split;
    frameCount_ = splitX_ * splitY_;
    UpdateFrameSize();
}

void TextureSettings::SetSplitY(std::uint32_t split) {
    splitY_ = split == 0 ? 1 : split;
    frameCount_ = splitX_ * splitY_;
    UpdateFrameSize();
}

void TextureSettings::SetFrameDurations(std::vector<std::uint32_t> durations) {
    frameDurations_ = std::move(durations);
    if (!frameDurations_.empty()) {
        // Unsigned wrap-around is the sum's defined behaviour for absurd lists.
        totalAnimationTime_ =
            std::accumulate(frameDurations_.begin(), frameDurations_.end(), std::uint32_t{0});
    }
}

void TextureSettings::UpdateFrameSize() {
    frameWidth_ = image_ ? image_->Width() / splitX_ : 0;
    frameHeight_ = image_ ? image_->Height() / splitY_ : 0;
}

}  // namespace orv
