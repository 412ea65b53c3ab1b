#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "effectfile/effect_writer.h"
#include "tests/effectfile/test_support.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// What saving reports: "caption: text", or "" when it saved.
std::string Save(const Effect& effect, const fs::path& path) {
    const std::string name = path.string();
    const auto message = SaveEffect(effect, std::u16string(name.begin(), name.end()));
    return message ? vesk::Utf8ForDisplay(message->caption + u": " + message->text) : "";
}

// Runs `body` in a child process and returns the text it hands back; no value when the child
// cannot set itself up here (`body` gives none). No exit handlers run in the child: the parent's
// state is not the child's to tear down.
std::optional<std::string> InChild(const std::function<std::optional<std::string>()>& body) {
    int channel[2];
    if (::pipe(channel) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const std::optional<std::string> text = body();
        if (!text) ::_exit(77);
        ::_exit(::write(channel[1], text->data(), text->size()) == static_cast<ssize_t>(text->size()) ? 0
                                                                                                      : 1);
    }
    ::close(channel[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return "the child failed";
    if (WEXITSTATUS(status) == 77) return std::nullopt;
    return WEXITSTATUS(status) == 0 ? text : "the child could not answer";
}

TEST(EffectSaving, FailuresNameTheFileAndTheReasonAndLeaveEverythingAsItWas) {
    TempFolder folder;
    fs::create_directories(folder.Path() / "e.orv" / "inside");
    test::WriteFileBytes(folder.Path() / "f.orv", "previous content");
    // A file name that has no UTF-8 form stops the writer in the middle of the file.
    const Effect plain;
    Effect halfway;
    halfway.AddEmitter(u"second");
    halfway.EmitterAt(1).texture.SetFileName(std::u16string(u"/x/") + char16_t(0xDC00) + u".png");
    const struct {
        fs::path path;
        const Effect& effect;
        std::vector<std::string> fragments;
    } cases[] = {{folder.Path() / "e.orv", plain, {"書き込みエラー: ", "e.orv"}},
                 {folder.Path() / "missing/e.orv", plain, {"missing/e.orv", "No such file or directory"}},
                 {"", plain, {"書き込みエラー: ファイル名が指定されていません。"}},
                 {folder.Path() / "f.orv", halfway, {"書き込みエラー: "}}};
    for (const auto& c : cases) {
        const std::string message = Save(c.effect, c.path);
        for (const std::string& fragment : c.fragments)
            EXPECT_NE(message.find(fragment), std::string::npos) << message;
    }
    EXPECT_TRUE(fs::is_directory(folder.Path() / "e.orv" / "inside"));
    EXPECT_EQ(test::ReadFileBytes(folder.Path() / "f.orv"), "previous content");
    EXPECT_EQ(test::FileNamesIn(folder.Path()).size(), 2u);  // no temporary file left behind
}

// Permissions do not bind root, and CI runs as root: these saves run in a child process that has
// given root up for the unprivileged user 65534 ("nobody"). Without root they run as they are.
TEST(EffectSaving, PermissionsOfTheUserDecideBetweenRefusalAndWritingInPlace) {
    constexpr id_t kNobody = 65534;
    const bool root = ::geteuid() == 0;
    TempFolder folder;
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);  // others pass through
    const fs::path dir = folder.Path() / "dir";
    const std::string previous = "previous content, longer than what replaces it" + std::string(100000, '.');
    Effect effect;
    effect.AddEmitter(u"second");
    // A read-only file is refused in any folder; a writable one in a folder without create
    // permission is written in place; a new file there is refused.
    const struct {
        const char* name;
        mode_t fileMode, folderMode;
        bool saves;
    } cases[] = {{"e.orv", 0444, 0755, false},
                 {"e.orv", 0444, 0555, false},
                 {"e.orv", 0640, 0555, true},
                 {"new.orv", 0, 0555, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << std::oct << c.fileMode << " in " << c.folderMode);
        const fs::path existing = dir / "e.orv", file = dir / c.name;
        fs::create_directory(dir);
        test::WriteFileBytes(existing, previous);
        for (const auto& [path, mode] :
             {std::pair{existing, c.fileMode ? c.fileMode : 0444}, {dir, c.folderMode}}) {
            ASSERT_EQ(::lchown(path.c_str(), root ? kNobody : ::geteuid(), root ? kNobody : ::getegid()), 0);
            ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        }
        struct stat before {};
        ASSERT_EQ(::stat(existing.c_str(), &before), 0);
        const std::optional<std::string> message = InChild([&]() -> std::optional<std::string> {
            const bool unprivileged = !root || (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 &&
                                                ::setuid(kNobody) == 0 && ::setuid(0) != 0);
            return unprivileged ? std::optional(Save(effect, file)) : std::nullopt;
        });
        if (!message) GTEST_SKIP() << "cannot become an unprivileged user";
        struct stat after {};
        ASSERT_EQ(::stat(existing.c_str(), &after), 0);
        if (c.saves) {
            EXPECT_EQ(*message, "");
            EXPECT_EQ(test::ReadFileBytes(file), test::EffectText(effect, file.u16string()));
            // Written in place.
            EXPECT_EQ(std::pair(after.st_ino, after.st_mode & 07777), std::pair(before.st_ino, c.fileMode));
        } else {
            EXPECT_NE(message->find(file.string() + "\": Permission denied"), std::string::npos) << *message;
            EXPECT_EQ(test::ReadFileBytes(existing), previous);
        }
        EXPECT_EQ(test::FileNamesIn(dir).size(), 1u);
        ::chmod(dir.c_str(), 0755);
        fs::remove_all(dir);
    }
}

// Saved through a link: the link stays and its target is replaced, keeping mode, owner and group
// (only root may give a file to somebody else; others check the mode alone).
TEST(EffectSaving, TheReplacementHoldsTheEffectTextKeepsModeOwnerAndGroupAndTheLink) {
    TempFolder folder;
    const fs::path file = folder.Path() / "real" / "e.orv";
    fs::create_directory(folder.Path() / "real");
    test::WriteFileBytes(file, "previous content");
    fs::create_symlink("real/e.orv", folder.Path() / "link.orv");
    ASSERT_EQ(::chmod(file.c_str(), 0604), 0);
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(root ? ::chown(file.c_str(), 12345, 23456) : 0, 0);
    Effect effect;
    effect.EmitterAt(0).texture.SetFileName(folder.Wide("tex/a.png"));
    EXPECT_EQ(Save(effect, folder.Path() / "link.orv"), "");
    EXPECT_EQ(fs::read_symlink(folder.Path() / "link.orv"), "real/e.orv");
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_TRUE(!root || (status.st_uid == 12345u && status.st_gid == 23456u));
    // Texture names are written relative to the saved file; no temporary file is left behind.
    EXPECT_EQ(test::ReadFileBytes(file), test::EffectText(effect, folder.Wide("link.orv")));
    EXPECT_EQ(test::FileNamesIn(folder.Path()).size(), 2u);
    EXPECT_EQ(test::FileNamesIn(folder.Path() / "real").size(), 1u);
}

// Saving onto a full file system: in a child with its own mount namespace and a tiny tmpfs.
TEST(EffectSaving, FullDiskKeepsThePreviousFile) {
    TempFolder folder;
    const fs::path mountPoint = folder.Path() / "small";
    fs::create_directories(mountPoint);
    const std::optional<std::string> failures = InChild([&]() -> std::optional<std::string> {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("orv-test", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
            return std::nullopt;
        }
        const std::string previous(1000, 'p');
        test::WriteFileBytes(mountPoint / "e.orv", previous);
        test::WriteFileBytes(mountPoint / "filler", std::string(64 * 1024, 'f'));  // fills what is left
        Effect effect;
        for (int i = 0; i < 20; ++i) effect.AddEmitter(u"more");
        const std::string message = Save(effect, mountPoint / "e.orv");
        return std::to_string(message.find("No space left on device") != std::string::npos) +
               std::to_string(test::ReadFileBytes(mountPoint / "e.orv") == previous) +
               std::to_string(test::FileNamesIn(mountPoint).size());
    });
    if (!failures) GTEST_SKIP() << "cannot mount a small tmpfs here";
    EXPECT_EQ(*failures, "112") << "reported, previous file kept, no file left over";
}

}  // namespace
}  // namespace orv
