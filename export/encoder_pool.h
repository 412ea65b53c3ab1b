#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "export/bounded_queue.h"
#include "render/frame_buffer.h"

namespace orv {

// Encodes drawn frames on worker threads while the caller draws the next ones, with a fixed set
// of frames passed round: the caller takes a free frame, draws it and submits it; an encoder
// writes it and hands it back. With n encoders there are n + 2 frames (one being drawn, one
// waiting, n being written), so memory stays bounded however long the render. With no encoder
// thread there is one frame, written inside Submit on the caller's thread.
//
// Frames may finish out of order; the pool reports them in frame order. When a frame fails, the
// lowest failing frame wins: no new frame is handed out, frames before it are still written, and
// the frames written after it are listed so the caller can remove them.
class EncoderPool {
public:
    // Writes one frame; returns the failure text, or nothing when it was written.
    using Encoder = std::function<std::optional<std::string>(std::uint64_t index, const FrameBuffer& frame)>;
    // Called once per frame in frame order, with the count of frames written from frame 0 on.
    // Calls are serialised, but may come from any encoder thread.
    using WrittenReport = std::function<void(std::uint64_t framesWritten)>;

    struct Failure {
        std::uint64_t index = 0;
        std::string text;
    };

    EncoderPool(unsigned encoderThreads, Encoder encode, WrittenReport written);
    ~EncoderPool();  // Finish()
    EncoderPool(const EncoderPool&) = delete;
    EncoderPool& operator=(const EncoderPool&) = delete;

    // Allocates the frames; false when there is not enough memory for all of them.
    bool AllocateFrames(std::uint32_t width, std::uint32_t height);

    // A frame to draw into, waiting until an encoder hands one back; nothing once a frame failed.
    std::optional<FrameBuffer> TakeFrame();
    // Hands a drawn frame to the encoders (or writes it at once without encoder threads).
    void Submit(std::uint64_t index, FrameBuffer frame);
    // Waits until every submitted frame is written or dropped, and ends the encoder threads.
    void Finish();

    // After Finish: the lowest frame that failed, and the frames written beyond it.
    const std::optional<Failure>& FirstFailure() const { return failure_; }
    std::vector<std::uint64_t> WrittenPastFailure() const;

    // Frames in circulation: encoder threads + 2, or 1 without encoder threads.
    static std::size_t FrameCount(unsigned encoderThreads) {
        return encoderThreads == 0 ? 1 : encoderThreads + 2;
    }

private:
    struct DrawnFrame {
        std::uint64_t index = 0;
        FrameBuffer pixels;
    };

    void EncodeLoop();
    void Encode(DrawnFrame frame);
    void Record(std::uint64_t index, std::optional<std::string> failure);

    const Encoder encode_;
    const WrittenReport written_;
    const std::size_t frameCount_;
    BoundedQueue<FrameBuffer> free_;
    BoundedQueue<DrawnFrame> drawn_;
    std::vector<std::thread> threads_;

    mutable std::mutex mutex_;              // guards what follows
    std::uint64_t writtenInOrder_ = 0;      // frames 0 .. this - 1 are written
    std::set<std::uint64_t> writtenAhead_;  // written frames past a gap
    std::optional<Failure> failure_;
};

}  // namespace orv
