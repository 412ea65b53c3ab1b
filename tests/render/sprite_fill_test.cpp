#include <gtest/gtest.h>

#include "render/sprite.h"

namespace orv {
namespace {

TEST(SpriteFill, Placeholder) {
    SUCCEED();
}

}  // namespace
}  // namespace orv
