#include "tests/effectfile/test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>

#include "image/png_writer.h"

namespace orv::test {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("orv_effectfile_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 error);
    std::filesystem::remove_all(path_, error);
}

std::u16string TempFolder::Wide(const std::string& name) const {
    const std::string text = (path_ / name).string();
    return std::u16string(text.begin(), text.end());  // the test folders are ASCII
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

void WritePng(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height) {
    Texture texture;
    texture.colour.emplace(width, height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) texture.colour->At(x, y) = 0xFF336699u;
    }
    const std::string text = path.string();
    ASSERT_TRUE(SavePng(std::u16string(text.begin(), text.end()), texture));
}

}  // namespace orv::test
