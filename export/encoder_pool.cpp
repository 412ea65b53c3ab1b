#include "export/encoder_pool.h"

#include <exception>
#include <utility>

namespace orv {

EncoderPool::EncoderPool(unsigned encoderThreads, Encoder encode, WrittenReport written)
    : encode_(std::move(encode)),
      written_(std::move(written)),
      frameCount_(FrameCount(encoderThreads)),
      free_(frameCount_),
      drawn_(frameCount_) {
    threads_.reserve(encoderThreads);
    for (unsigned i = 0; i < encoderThreads; ++i) threads_.emplace_back([this] { EncodeLoop(); });
}

EncoderPool::~EncoderPool() {
    Finish();
}

bool EncoderPool::AllocateFrames(std::uint32_t width, std::uint32_t height) {
    for (std::size_t i = 0; i < frameCount_; ++i) {
        FrameBuffer frame;
        if (!frame.Create(width, height)) return false;
        free_.Push(std::move(frame));
    }
    return true;
}

std::optional<FrameBuffer> EncoderPool::TakeFrame() {
    std::optional<FrameBuffer> frame = free_.Pop();
    const std::lock_guard<std::mutex> lock(mutex_);
    if (failure_) return std::nullopt;
    return frame;
}

void EncoderPool::Submit(std::uint64_t index, FrameBuffer frame) {
    if (threads_.empty()) {
        Encode(DrawnFrame{index, std::move(frame)});
    } else {
        drawn_.Push(DrawnFrame{index, std::move(frame)});
    }
}

void EncoderPool::Finish() {
    drawn_.Close();
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
    free_.Close();
}

std::vector<std::uint64_t> EncoderPool::WrittenPastFailure() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::uint64_t> indices;
    if (failure_) {
        for (const std::uint64_t index : writtenAhead_) {
            if (index > failure_->index) indices.push_back(index);
        }
    }
    return indices;
}

void EncoderPool::EncodeLoop() {
    while (std::optional<DrawnFrame> frame = drawn_.Pop()) Encode(std::move(*frame));
}

void EncoderPool::Encode(DrawnFrame frame) {
    bool wanted = true;
    {
        // A frame past a failed one would only be removed again.
        const std::lock_guard<std::mutex> lock(mutex_);
        wanted = !failure_ || frame.index < failure_->index;
    }
    if (wanted) {
        std::optional<std::string> failure;
        try {
            failure = encode_(frame.index, frame.pixels);
        } catch (const std::exception& error) {
            failure = std::string("cannot write a frame: ") + error.what();
        }
        Record(frame.index, std::move(failure));
    }
    free_.Push(std::move(frame.pixels));
}

void EncoderPool::Record(std::uint64_t index, std::optional<std::string> failure) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (failure) {
        if (!failure_ || index < failure_->index) failure_ = Failure{index, std::move(*failure)};
        return;
    }
    if (index != writtenInOrder_) {
        writtenAhead_.insert(index);
        return;
    }
    written_(++writtenInOrder_);
    while (!writtenAhead_.empty() && *writtenAhead_.begin() == writtenInOrder_) {
        writtenAhead_.erase(writtenAhead_.begin());
        written_(++writtenInOrder_);
    }
}

}  // namespace orv
