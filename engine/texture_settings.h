#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/texture.h"

namespace orv {

// An emitter's texture: the owned picture, its file name, the grid it is split into and the
// animation of its frames. The frame size and count follow every change of image or split.
class TextureSettings {
public:
    // The file-name buffer holds at most this many characters (plus a terminator).
    static constexpr std::size_t kMaxFileNameLength = 2559;

    // Every setting but the picture, which the copy lacks until SetImage gives it one.
    TextureSettings CopyWithoutImage() const;

    const Texture* Image() const { return image_.get(); }
    // Replaces (and frees) the previous picture; null removes it.
    void SetImage(TexturePtr image);

    const std::u16string& FileName() const { return fileName_; }
    // Longer names are cut to kMaxFileNameLength characters.
    void SetFileName(std::u16string fileName);

    std::uint32_t SplitX() const { return splitX_; }
    std::uint32_t SplitY() const { return splitY_; }
    // A split of 0 is taken as 1: a grid always has at least one column and one row.
    void SetSplitX(std::uint32_t split);
    void SetSplitY(std::uint32_t split);

    bool IsAnimation() const { return isAnimation_; }
    void SetAnimation(bool on) { isAnimation_ = on; }

    // Frame durations in milliseconds. Setting a non-empty list recomputes the total animation
    // time; an empty list leaves the total as it was.
    const std::vector<std::uint32_t>& FrameDurations() const { return frameDurations_; }
    void SetFrameDurations(std::vector<std::uint32_t> durations);
    std::uint32_t TotalAnimationTime() const { return totalAnimationTime_; }

    // Image size divided by the split (0 while there is no image).
    std::uint32_t FrameWidth() const { return frameWidth_; }
    std::uint32_t FrameHeight() const { return frameHeight_; }
    // split_x * split_y.
    std::uint32_t FrameCount() const { return frameCount_; }

private:
    void UpdateFrameSize();

    TexturePtr image_;
    std::u16string fileName_;
    std::uint32_t splitX_ = 1;
    std::uint32_t splitY_ = 1;
    bool isAnimation_ = false;
    std::vector<std::uint32_t> frameDurations_;
    std::uint32_t totalAnimationTime_ = 0;
    std::uint32_t frameWidth_ = 0;
    std::uint32_t frameHeight_ = 0;
    std::uint32_t frameCount_ = 1;
};

}  // namespace orv
