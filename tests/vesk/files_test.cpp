// Byte streams over files, and the path utilities.
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

// Writing truncates and locks out every other open; seeks use the library's own origin codes.
TEST(Stream, WritingTruncatesExcludesOtherOpensAndSeeksByOrigin) {
    TempFolder dir(kNonAsciiFolder);
    const std::u16string path = dir.Wide("w.bin");
    std::ofstream(fs::path(path)) << "an older and longer content";
    auto s = OpenFileStream(path, kOpenRead | kOpenWrite);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetSize(), 0u);
    EXPECT_EQ(s->Write("0123456789abcdef", 16), 16u);
    EXPECT_FALSE(OpenFileStream(path, kOpenRead) || OpenFileStream(path, kOpenWrite));
    const int seeks[][3] = {
        {0, kSeekBegin, 0},    {0, kSeekEnd, 16},     {-4, kSeekEnd, 12}, {-100, kSeekBegin, 12},
        {-7, kSeekCurrent, 5}, {5, kSeekCurrent, 10}, {1, 7, 11}};  // 7 acts as 0
    for (const auto& [offset, origin, position] : seeks) {
        EXPECT_TRUE(s->Seek(offset, origin));
        EXPECT_EQ(s->Tell(), static_cast<std::uint32_t>(position)) << offset << " from " << origin;
    }
    char rest[8];
    EXPECT_EQ(std::string(rest, s->Read(rest, 8)), "bcdef");
    EXPECT_FALSE(CBasicStream().Seek(0, kSeekBegin));  // a closed stream
}

TEST(Stream, ReadingSharesTheFileReadsShortAtTheEndAndOpensNothingElse) {
    TempFolder dir(kNonAsciiFolder);
    const std::u16string path = dir.Wide() + u"/\u30c6\u30af\u30b9\u30c1\u30e3 \U0001F600.bin";
    std::ofstream(fs::path(path)) << "0123456789";
    auto s = OpenFileStream(path, kOpenRead);
    ASSERT_NE(s, nullptr);
    EXPECT_NE(OpenFileStream(path, kOpenRead), nullptr) << "shared with other readers";
    EXPECT_EQ(std::pair(s->GetSize(), s->Write("x", 1)), std::pair(10u, 0u)) << "read-only";
    char text[16];
    EXPECT_EQ(s->Read(text, 16), 10u);  // a short read at the end
    EXPECT_EQ(std::string(text, 10), "0123456789");
    EXPECT_EQ(s->Read(text, 16), 0u);
    // A folder, no name, a name that is not valid UTF-16 and a missing file (not created) open not.
    for (const std::u16string& name :
         {dir.Wide(), std::u16string(), dir.Wide() + u"/a\xD800", dir.Wide("missing")})
        EXPECT_EQ(OpenFileStream(name, kOpenRead), nullptr);
    EXPECT_FALSE(fs::exists(dir.Path() / "missing"));
}

TEST(PathUtils, SplitsAwkwardNames) {
    const std::u16string d(3000, u'd'), n(1000, u'n'), e(400, u'E');  // no length limit
    const std::u16string cases[][5] = {
        // path, directory, name, title, extension
        {u"x.png", u"", u"x.png", u"x", u".png"},
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
    fs::path deep = dir.Path();
    for (char c = 'a'; c < 'm'; ++c) deep /= std::string(40, c);
    fs::create_directories(deep);
    const fs::path saved = fs::current_path();
    fs::current_path(dir.Path() / "fx" / "sub");
    const std::u16string cwd = dir.Wide("fx/sub"), fx = dir.Wide("fx/"),
                         big = std::u16string(u"/").append(3000, u'd'),
                         rel = std::u16string(300, u'r') + u"/x.png";
    // GetCurrentDir is what "." gives.
    const std::pair<std::u16string, std::u16string> full[] = {{u"x//y/", cwd + u"/x/y/"},
                                                              {u".", cwd},
                                                              {u"/../a/./b/../c", u"/a/c"},
                                                              {u"//", u"/"},
                                                              {u"", u""},
                                                              {big, big}};
    for (const auto& [path, expected] : full) EXPECT_EQ(vesk::GetFullPath(path), expected);
    fs::current_path(dir.Path());
    // Relative effect paths go against the current folder; an unresolvable folder (missing, none)
    // leaves the name as it is. (A name below the effect's own folder is EffectLoading's
    // texture test.)
    const std::u16string resolved[][3] = {{u"../t/./a.png", fx + u"e.orv", dir.Wide("t/a.png")},
                                          {u"/abs/../x.png", fx + u"e.orv", u"/x.png"},
                                          {u"tex/a.png", u"./fx/../fx/e.orv", fx + u"tex/a.png"},
                                          {u"tex/a.png", dir.Wide("nope/e.orv"), u"tex/a.png"},
                                          {u"tex/a.png", u"e.orv", u"tex/a.png"},
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
