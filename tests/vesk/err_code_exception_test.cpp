#include "vesk/err_code_exception.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(ErrCodeException, MessageTable) {
    const char* const expected[] = {
        "Success.",          "No support.",           "Cannot open files.",
        "File read error.",  "File seek error.",      "No support BMP format.",
        "No support compression BMP format.",
    };
    for (std::uint32_t code = 0; code < 7; ++code) {
        EXPECT_STREQ(vesk::CErrCodeException(code).Message(), expected[code]) << code;
    }
}

TEST(ErrCodeException, UnknownCodes) {
    EXPECT_STREQ(vesk::CErrCodeException(7).Message(), "Unknow error.");
    EXPECT_STREQ(vesk::CErrCodeException(0x7FFFFFFFu).Message(), "Unknow error.");
    EXPECT_STREQ(vesk::CErrCodeException(0xFFFFFFFFu).Message(), "Unknow error.");
}

TEST(ErrCodeException, ThrownByValueCaughtByReference) {
    try {
        throw vesk::CErrCodeException(2);
    } catch (const vesk::CErrCodeException& e) {
        EXPECT_EQ(e.code, 2u);
        EXPECT_STREQ(e.Message(), "Cannot open files.");
        vesk::CErrCodeException copy(e);
        EXPECT_EQ(copy.code, 2u);
        EXPECT_STREQ(copy.Message(), "Cannot open files.");
        return;
    }
    FAIL() << "not caught";
}

}  // namespace
