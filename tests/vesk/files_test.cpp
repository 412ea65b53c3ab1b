// Byte streams over files, and the path utilities.
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "vesk/path_utils.h"
#include "vesk/stream.h"

namespace {

using namespace vesk;
namespace fs = std::filesystem;

using orv::test::TempFolder;
const char kNonAsciiFolder[] = "orv-vesk-\xe3\x83\x86-";

TEST(Stream, OpenModesExclusivityAndSeeking) {
    TempFolder dir(kNonAsciiFolder);
    const std::u16string path = dir.Wide() + u"/\u30c6\u30af\u30b9\u30c1\u30e3 \U0001F600.bin";
    const auto opens = [&](unsigned mode) { return OpenFileStream(path, mode) != nullptr; };
    std::ofstream(fs::path(path)) << "an older and longer content";
    auto s = OpenFileStream(path, kOpenWrite);  // truncates; write-only; excludes every other open
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Write("0123456789", 10), 10u);
    EXPECT_FALSE(opens(kOpenRead) || opens(kOpenWrite) || opens(kOpenRead | kOpenWrite));
    const pid_t pid = fork();  // another process is refused too
    if (pid == 0) _exit(opens(kOpenRead) ? 1 : 0);
    int status = -1;
    EXPECT_TRUE(waitpid(pid, &status, 0) == pid && status == 0);
    EXPECT_TRUE(s->Seek(0, kSeekBegin));
    char end[16];
    EXPECT_EQ(s->Read(end, 1), 0u);
    s.reset();
    s = OpenFileStream(path, kOpenRead);  // keeps the content; read-only; shared with readers, not writers
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(opens(kOpenRead));
    EXPECT_FALSE(opens(kOpenWrite) || opens(kOpenRead | kOpenWrite));
    EXPECT_EQ(orv::test::ReadFileBytes(fs::path(path)), "0123456789");  // the refused opens truncated nothing
    EXPECT_EQ(s->GetSize(), 10u);
    EXPECT_EQ(s->Write("x", 1), 0u);
    s.reset();
    s = OpenFileStream(path, kOpenRead | kOpenWrite);  // truncates; both ways
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetSize(), 0u);
    EXPECT_EQ(s->Write("0123456789abcdef", 16), 16u);
    // Any other origin acts as the current position; a seek before the start reports true and stays.
    const int seeks[][3] = {
        {0, kSeekEnd, 16},     {0, kSeekBegin, 0}, {5, kSeekCurrent, 5}, {5, kSeekCurrent, 10},
        {-3, kSeekCurrent, 7}, {-2, 7, 5},         {1, -1, 6},           {-100, kSeekBegin, 6},
        {-4, kSeekEnd, 12}};
    for (const auto& [offset, origin, position] : seeks) {
        EXPECT_TRUE(s->Seek(offset, origin));
        EXPECT_EQ(s->Tell(), static_cast<std::uint32_t>(position)) << offset << " from " << origin;
    }
    EXPECT_EQ(s->Read(end, 16), 4u);  // a short read at the end
    EXPECT_EQ(std::string(end, 4), "cdef");
    EXPECT_EQ(s->Read(end, 16), 0u);

    EXPECT_NE(OpenFileStream(dir.Wide("new"), kOpenWrite), nullptr);  // creates
    // A folder, no name and a name that is not valid UTF-16 open in no mode; neither does a missing
    // file for reading (nor is it created), nor any file in no mode.
    for (const std::u16string& name : {dir.Wide(), std::u16string(), dir.Wide() + u"/a\xD800"})
        EXPECT_FALSE(OpenFileStream(name, kOpenRead) || OpenFileStream(name, kOpenWrite));
    EXPECT_FALSE(OpenFileStream(dir.Wide("missing"), kOpenRead) || OpenFileStream(dir.Wide("new"), 0));
    EXPECT_FALSE(fs::exists(dir.Path() / "missing"));
    // A closed stream does nothing.
    CBasicStream closed;
    EXPECT_FALSE(closed.Seek(0, kSeekBegin));
    EXPECT_EQ(closed.Read(end, 4) + closed.Write("abcd", 4) + closed.Tell() + closed.GetSize(), 0u);
}

TEST(PathUtils, SplitsAwkwardNames) {
    const std::u16string d(3000, u'd'), n(1000, u'n'), e(400, u'E');  // no length limit
    const std::u16string cases[][5] = {
        // path, directory, name, title, extension
        {u"x.png", u"", u"x.png", u"x", u".png"},
        {u"/a/b/README", u"/a/b/", u"README", u"README", u""},
        {u"/a.d/b.e/file", u"/a.d/b.e/", u"file", u"file", u""},
        {u"/a/b/", u"/a/b/", u"", u"", u""},
        {u"", u"", u"", u"", u""},
        {u"dir/x.tar.gz", u"dir/", u"x.tar.gz", u"x.tar", u".gz"},
        {u"a//b//c.", u"a//b//", u"c.", u"c", u"."},
        {u"/h/.bashrc", u"/h/", u".bashrc", u"", u".bashrc"},
        {u"/a/..", u"/a/", u"..", u"..", u""},
        {u"/p/\u00c9T\u00c9.\u00c9PnG", u"/p/", u"\u00c9T\u00c9.\u00c9PnG", u"\u00c9T\u00c9", u".\u00c9png"},
        {u"C:\\fx\\e.orv", u"", u"C:\\fx\\e.orv", u"C:\\fx\\e", u".orv"},  // '\\' is a name character here
        {std::u16string(u"/a/x.png\0/b/y.txt", 17), u"/a/", u"x.png", u"x", u".png"},  // ends at the NUL
        {u"/" + d + u"/" + n + u"." + e, u"/" + d + u"/", n + u"." + e, n,
         std::u16string(u".").append(400, u'e')},
    };
    for (const auto& [path, directory, name, title, extension] : cases) {
        SCOPED_TRACE(std::string(path.begin(), path.begin() + std::min<std::size_t>(path.size(), 40)));
        EXPECT_EQ(vesk::GetDirectoryPart(path), directory);
        EXPECT_EQ(vesk::GetFileNamePart(path), name);
        EXPECT_EQ(vesk::GetFileTitlePart(path), title);
        EXPECT_EQ(vesk::GetExtensionPart(path), extension);
    }
}

TEST(PathUtils, FullAndResolvedPaths) {
    TempFolder dir(kNonAsciiFolder);
    fs::create_directories(dir.Path() / "fx" / "sub");
    std::ofstream(dir.Path() / "file").close();
    fs::path deep = dir.Path();
    for (char c = 'a'; c < 'm'; ++c) deep /= std::string(40, c);
    fs::create_directories(deep);
    const fs::path saved = fs::current_path();
    fs::current_path(dir.Path() / "fx" / "sub");
    const std::u16string cwd = dir.Wide("fx/sub"), fx = dir.Wide("fx/"),
                         big = std::u16string(u"/").append(3000, u'd'),
                         rel = std::u16string(300, u'r') + u"/x.png";
    EXPECT_EQ(vesk::GetCurrentDir(), cwd);
    const std::pair<std::u16string, std::u16string> full[] = {{u"./x/../a.png", cwd + u"/a.png"},
                                                              {u"../a.png", fx + u"a.png"},
                                                              {u"x//y/", cwd + u"/x/y/"},
                                                              {u".", cwd},
                                                              {u"/../a/./b/../c", u"/a/c"},
                                                              {u"//", u"/"},
                                                              {u"", u""},
                                                              {big, big}};
    for (const auto& [path, expected] : full) EXPECT_EQ(vesk::GetFullPath(path), expected);
    fs::current_path(dir.Path());
    // Relative effect paths go against the current folder; an unresolvable folder (missing, none,
    // a file) leaves the name as it is.
    const std::u16string resolved[][3] = {{u"tex/a.png", fx + u"e.orv", fx + u"tex/a.png"},
                                          {u"../t/./a.png", fx + u"e.orv", dir.Wide("t/a.png")},
                                          {u"/abs/../x.png", fx + u"e.orv", u"/x.png"},
                                          {u"tex/a.png", u"./fx/../fx/e.orv", fx + u"tex/a.png"},
                                          {u"tex/a.png", dir.Wide("nope/e.orv"), u"tex/a.png"},
                                          {u"tex/a.png", u"e.orv", u"tex/a.png"},
                                          {u"a.png", dir.Wide("file/e.orv"), u"a.png"},
                                          {rel, deep.u16string() + u"/e.orv", deep.u16string() + u"/" + rel}};
    for (const auto& [name, effect, expected] : resolved)
        EXPECT_EQ(vesk::ResolvePath(name, effect), expected);
    EXPECT_EQ(fs::current_path(), dir.Path());  // never changed
    fs::current_path(saved);

    fs::path native;
    EXPECT_FALSE(vesk::ToNativePath(u"/x\xDC00", native));
    EXPECT_EQ(vesk::FromNativePath(fs::path("/x\xff")), u"");
}

}  // namespace
