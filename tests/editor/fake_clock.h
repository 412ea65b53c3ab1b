#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "editor/preview_tick.h"

namespace orv::test {

// A clock the test moves by hand; `step` is added after every reading.
struct FakeClock {
    std::shared_ptr<std::uint32_t> now = std::make_shared<std::uint32_t>(1000);
    std::uint32_t step = 0;
    MillisecondClock Clock() const {
        return [now = now, step = step] { return std::exchange(*now, *now + step); };
    }
    void Advance(std::uint32_t ms) const { *now += ms; }
};

}  // namespace orv::test
