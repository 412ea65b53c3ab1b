#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "effectfile/effect_writer.h"
#include "tests/effectfile/test_support.h"

namespace orv {
namespace {

using test::TempFolder;

std::size_t EntryCount(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(EffectSaving, WritesTheEffectText) {
    TempFolder folder;
    Effect effect;
    effect.EmitterAt(0).texture.SetFileName(folder.Wide("tex/a.png"));
    EXPECT_FALSE(SaveEffect(effect, folder.Wide("e.orv")));
    EXPECT_EQ(test::ReadFileBytes(folder.Path() / "e.orv"), test::EffectText(effect, folder.Wide("e.orv")));
    EXPECT_NE(test::ReadFileBytes(folder.Path() / "e.orv").find("\"filename\": \"tex/a.png\""),
              std::string::npos);
    EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(EffectSaving, NoPathIsReported) {
    const auto message = SaveEffect(Effect(), u"");
    ASSERT_TRUE(message);
    EXPECT_EQ(message->caption, u"書き込みエラー");
    EXPECT_EQ(message->text, u"ファイル名が指定されていません。");
}

TEST(EffectSaving, AFailureHalfwayKeepsThePreviousFile) {
    TempFolder folder;
    test::WriteFileBytes(folder.Path() / "e.orv", "previous content");
    Effect effect;
    effect.AddEmitter(u"second");
    // A file name that has no UTF-8 form stops the writer in the middle of the file.
    effect.EmitterAt(1).texture.SetFileName(std::u16string(u"/x/") + char16_t(0xDC00) + u".png");
    const auto message = SaveEffect(effect, folder.Wide("e.orv"));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->caption, u"書き込みエラー");
    EXPECT_EQ(test::ReadFileBytes(folder.Path() / "e.orv"), "previous content");
    EXPECT_EQ(EntryCount(folder.Path()), 1u);  // no temporary file left behind
}

TEST(EffectSaving, CreateFailuresNameTheFileAndTheReason) {
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "e.orv" / "inside");
    auto message = SaveEffect(Effect(), folder.Wide("e.orv"));
    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find(u"e.orv"), std::u16string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "e.orv" / "inside"));
    EXPECT_EQ(EntryCount(folder.Path()), 1u);

    message = SaveEffect(Effect(), folder.Wide("missing/e.orv"));
    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find(u"missing/e.orv"), std::u16string::npos);
    EXPECT_NE(message->text.find(u"No such file or directory"), std::u16string::npos);
}

TEST(EffectSaving, ReadOnlyFolderKeepsThePreviousFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    TempFolder folder;
    test::WriteFileBytes(folder.Path() / "e.orv", "previous content");
    std::filesystem::permissions(folder.Path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const auto message = SaveEffect(Effect(), folder.Wide("e.orv"));
    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find(u"Permission denied"), std::u16string::npos);
    EXPECT_EQ(test::ReadFileBytes(folder.Path() / "e.orv"), "previous content");
}

// Saving onto a full file system: run in a child with its own mount namespace and a tiny tmpfs.
TEST(EffectSaving, FullDiskKeepsThePreviousFile) {
    TempFolder folder;
    const std::filesystem::path mountPoint = folder.Path() / "small";
    std::filesystem::create_directories(mountPoint);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("orv-test", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
            ::_exit(77);
        }
        const std::string previous(1000, 'p');
        test::WriteFileBytes(mountPoint / "e.orv", previous);
        {
            std::ofstream filler(mountPoint / "filler", std::ios::binary);
            const std::string block(4096, 'f');
            while (filler.write(block.data(), block.size())) {
            }
        }
        Effect effect;
        for (int i = 0; i < 20; ++i) effect.AddEmitter(u"more");
        const std::string target = (mountPoint / "e.orv").string();
        const auto message = SaveEffect(effect, std::u16string(target.begin(), target.end()));
        int result = 0;
        if (!message || message->text.find(u"No space left on device") == std::u16string::npos) result |= 1;
        if (test::ReadFileBytes(mountPoint / "e.orv") != previous) result |= 2;
        if (EntryCount(mountPoint) != 2) result |= 4;
        ::umount(mountPoint.c_str());
        ::_exit(result);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot mount a small tmpfs here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not reported, 2: previous file changed, 4: leftovers";
}

}  // namespace
}  // namespace orv
