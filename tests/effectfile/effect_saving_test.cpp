#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "effectfile/effect_writer.h"
#include "tests/effectfile/test_support.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

using test::TempFolder;

std::size_t EntryCount(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
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

TEST(EffectSaving, CreateFailuresNameTheFileAndTheReasonAndNoNameIsRefused) {
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

    message = SaveEffect(Effect(), u"");
    ASSERT_TRUE(message);
    EXPECT_EQ(message->caption, u"書き込みエラー");
    EXPECT_EQ(message->text, u"ファイル名が指定されていません。");
}

namespace fs = std::filesystem;

// Permissions do not bind root, and CI runs as root: these saves run in a child process that has
// given root up for the unprivileged user 65534 ("nobody"). Without root they run as they are.
class SavingAsUser : public ::testing::Test {
protected:
    static constexpr id_t kNobody = 65534;
    static uid_t User() { return ::geteuid() == 0 ? kNobody : ::geteuid(); }
    static gid_t Group() { return ::geteuid() == 0 ? kNobody : ::getegid(); }

    void SetUp() override { ASSERT_EQ(::chmod(folder_.Path().c_str(), 0755), 0); }  // others pass through

    // A file or folder that belongs to the user the saves run as, with `mode`.
    void Give(const fs::path& path, mode_t mode) {
        ASSERT_EQ(::lchown(path.c_str(), User(), Group()), 0);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    }

    // Saves `effect` to `path` as that user: the message's text, or "" when it saved.
    std::string SaveAsUser(const Effect& effect, const fs::path& path) {
        int channel[2];
        if (::pipe(channel) != 0) return "no pipe";
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 ||
                                     ::setuid(kNobody) != 0 || ::setuid(0) == 0)) {
                ::_exit(77);
            }
            const std::string name = path.string();
            const auto message = SaveEffect(effect, std::u16string(name.begin(), name.end()));
            std::string text = message ? vesk::Utf8ForDisplay(message->text) : "";
            if (message && text.empty()) text = "an empty message";
            const bool sent =
                ::write(channel[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
            ::_exit(sent ? 0 : 1);  // no exit handlers: the parent's state is not the child's to tear down
        }
        ::close(channel[1]);
        std::string text;
        char buffer[256];
        for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
        ::close(channel[0]);
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
            return "the child failed";
        if (WEXITSTATUS(status) == 77) skipped_ = true;
        return text;
    }

    TempFolder folder_;
    const fs::path dir_ = folder_.Path() / "dir";
    const fs::path file_ = dir_ / "e.orv";
    bool skipped_ = false;
    const std::string previous_ = "previous content, longer than what replaces it" + std::string(100000, '.');
};

TEST_F(SavingAsUser, ATargetTheUserMayNotWriteIsRefusedAndKept) {
    for (const mode_t folderMode : {0755, 0555}) {
        fs::create_directory(dir_);
        test::WriteFileBytes(file_, previous_);
        Give(file_, 0444);
        Give(dir_, folderMode);
        const std::string message = SaveAsUser(Effect(), file_);
        if (skipped_) GTEST_SKIP() << "cannot become an unprivileged user";
        EXPECT_NE(message.find(file_.string()), std::string::npos) << message;
        EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
        EXPECT_EQ(test::ReadFileBytes(file_), previous_);
        EXPECT_EQ(EntryCount(dir_), 1u);
        ::chmod(dir_.c_str(), 0755);
        fs::remove_all(dir_);
    }
}

TEST_F(SavingAsUser, AWritableTargetInAFolderWithoutCreatePermissionIsWrittenInPlace) {
    fs::create_directory(dir_);
    test::WriteFileBytes(file_, previous_);
    Give(file_, 0640);
    Give(dir_, 0555);
    struct stat before {};
    ASSERT_EQ(::stat(file_.c_str(), &before), 0);
    Effect effect;
    effect.AddEmitter(u"second");
    const std::string message = SaveAsUser(effect, file_);
    if (skipped_) GTEST_SKIP() << "cannot become an unprivileged user";
    EXPECT_EQ(message, "");
    EXPECT_EQ(test::ReadFileBytes(file_), test::EffectText(effect, folder_.Wide("dir/e.orv")));
    struct stat after {};
    ASSERT_EQ(::stat(file_.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(EntryCount(dir_), 1u);

    // No file there yet: nothing to write in place, so the usual refusal naming the file.
    const std::string refused = SaveAsUser(effect, dir_ / "new.orv");
    EXPECT_NE(refused.find("new.orv\": Permission denied"), std::string::npos) << refused;
    ::chmod(dir_.c_str(), 0755);
}

TEST(EffectSaving, TheReplacementHoldsTheEffectTextAndKeepsModeOwnerAndGroup) {
    TempFolder folder;
    const fs::path file = folder.Path() / "e.orv";
    Effect effect;
    effect.EmitterAt(0).texture.SetFileName(folder.Wide("tex/a.png"));
    test::WriteFileBytes(file, "previous content");
    ASSERT_EQ(::chmod(file.c_str(), 0604), 0);
    // Only root may give a file to somebody else; others check the mode alone.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(file.c_str(), 12345, 23456), 0);
    }
    EXPECT_FALSE(SaveEffect(effect, folder.Wide("e.orv")));
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    if (root) {
        EXPECT_EQ(status.st_uid, 12345u);
        EXPECT_EQ(status.st_gid, 23456u);
    }
    // Texture names are written relative to the saved file; no temporary file is left behind.
    EXPECT_EQ(test::ReadFileBytes(file), test::EffectText(effect, folder.Wide("e.orv")));
    EXPECT_NE(test::ReadFileBytes(file).find("\"filename\": \"tex/a.png\""), std::string::npos);
    EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(EffectSaving, SavingThroughALinkWritesItsTargetAndKeepsTheLink) {
    TempFolder folder;
    fs::create_directory(folder.Path() / "real");
    test::WriteFileBytes(folder.Path() / "real" / "e.orv", "previous content");
    fs::create_symlink("real/e.orv", folder.Path() / "link.orv");
    Effect effect;
    EXPECT_FALSE(SaveEffect(effect, folder.Wide("link.orv")));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "link.orv"));
    EXPECT_EQ(fs::read_symlink(folder.Path() / "link.orv"), "real/e.orv");
    EXPECT_EQ(test::ReadFileBytes(folder.Path() / "real" / "e.orv"),
              test::EffectText(effect, folder.Wide("link.orv")));
    EXPECT_EQ(EntryCount(folder.Path()), 2u);
    EXPECT_EQ(EntryCount(folder.Path() / "real"), 1u);
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
