#include "vesk/path_utils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/vesk/temp_dir.h"

namespace {

struct SplitCase {
    std::u16string path, dir, name, title, ext;
};

TEST(PathUtils, SplitsAwkwardNames) {
    const SplitCase cases[] = {
        {u"/a/b/x.png", u"/a/b/", u"x.png", u"x", u".png"},
        {u"x.png", u"", u"x.png", u"x", u".png"},
        {u"/a/b/README", u"/a/b/", u"README", u"README", u""},   // no extension
        {u"/a.d/b.e/file", u"/a.d/b.e/", u"file", u"file", u""},  // dots in folders only
        {u"/a.d/b.e/f.x", u"/a.d/b.e/", u"f.x", u"f", u".x"},
        {u"/a/b/", u"/a/b/", u"", u"", u""},                      // trailing separator
        {u"/", u"/", u"", u"", u""},
        {u"", u"", u"", u"", u""},
        {u"dir/x.tar.gz", u"dir/", u"x.tar.gz", u"x.tar", u".gz"},  // multi-dot name
        {u"a//b//c.d", u"a//b//", u"c.d", u"c", u".d"},
        {u"x.", u"", u"x.", u"x", u"."},                          // trailing dot
        {u"/h/.bashrc", u"/h/", u".bashrc", u"", u".bashrc"},     // as _wsplitpath does
        {u"/a/..", u"/a/", u"..", u"..", u""},
        {u"/a/.", u"/a/", u".", u".", u""},
        {u"/p/A.PNG", u"/p/", u"A.PNG", u"A", u".png"},
        {u"/p/Mixed.TxT", u"/p/", u"Mixed.TxT", u"Mixed", u".txt"},
        {u"/p/\u00c9T\u00c9.\u00c9PNG", u"/p/", u"\u00c9T\u00c9.\u00c9PNG", u"\u00c9T\u00c9", u".\u00c9png"},
#ifndef _WIN32
        {u"C:\\fx\\e.orv", u"", u"C:\\fx\\e.orv", u"C:\\fx\\e", u".orv"},  // '\\' is a name char
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        EXPECT_EQ(GetDirectoryPart(c.path), c.dir);
        EXPECT_EQ(GetFileNamePart(c.path), c.name);
        EXPECT_EQ(GetFileTitlePart(c.path), c.title);
        EXPECT_EQ(GetExtensionPart(c.path), c.ext);
    }
}

TEST(PathUtils, LongComponentsAreNotTruncated) {
    const std::u16string longDir(3000, u'd');
    const std::u16string longName(1000, u'n');
    const std::u16string longExt(400, u'E');
    const std::u16string path = u"/" + longDir + u"/" + longName + u"." + longExt;
    EXPECT_EQ(GetDirectoryPart(path), u"/" + longDir + u"/");
    EXPECT_EQ(GetFileTitlePart(path), longName);
    EXPECT_EQ(GetExtensionPart(path), u"." + std::u16string(400, u'e'));
    EXPECT_EQ(GetFileNamePart(path), longName + u"." + longExt);
    EXPECT_EQ(GetFullPath(path), path);
}

TEST(PathUtils, StopsAtNul) {
    std::u16string p = u"/a/x.png";
    p.push_back(0);
    p += u"/b/y.txt";
    EXPECT_EQ(GetDirectoryPart(p), u"/a/");
    EXPECT_EQ(GetExtensionPart(p), u".png");
}

class CurrentDirTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = std::filesystem::current_path(); }
    void TearDown() override { std::filesystem::current_path(saved_); }
    std::filesystem::path saved_;
};

TEST_F(CurrentDirTest, GetCurrentDirMatchesProcess) {
    TempDir dir;
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(GetCurrentDir(), std::filesystem::current_path().u16string());
    std::filesystem::current_path("/");
    EXPECT_EQ(GetCurrentDir(), u"/");
}

TEST_F(CurrentDirTest, GetFullPathNormalises) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "sub");
    std::filesystem::current_path(dir.path() / "sub");
    const std::u16string cwd = GetCurrentDir();
    const std::u16string parent = GetDirectoryPart(cwd);  // ".../" of the temp dir
    EXPECT_EQ(GetFullPath(u"a.png"), cwd + u"/a.png");
    EXPECT_EQ(GetFullPath(u"./x/../a.png"), cwd + u"/a.png");
    EXPECT_EQ(GetFullPath(u"../a.png"), parent + u"a.png");
    EXPECT_EQ(GetFullPath(u"x//y/"), cwd + u"/x/y/");
    EXPECT_EQ(GetFullPath(u"."), cwd);
    EXPECT_EQ(GetFullPath(u"/a/./b/../c"), u"/a/c");
    EXPECT_EQ(GetFullPath(u"/../../x"), u"/x");
    EXPECT_EQ(GetFullPath(u"/"), u"/");
    EXPECT_EQ(GetFullPath(u"//"), u"/");
    EXPECT_EQ(GetFullPath(u""), u"");
}

TEST_F(CurrentDirTest, ResolvePathAgainstExistingFolder) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "fx");
    const std::u16string fx = dir.u16() + u"/fx";
    const std::filesystem::path before = std::filesystem::current_path();
    EXPECT_EQ(ResolvePath(u"tex/a.png", fx + u"/e.orv"), fx + u"/tex/a.png");
    EXPECT_EQ(std::filesystem::current_path(), before);  // never changed
    EXPECT_EQ(ResolvePath(u"a.png", fx + u"/e.orv"), fx + u"/a.png");
    EXPECT_EQ(ResolvePath(u"../t/./a.png", fx + u"/e.orv"), dir.u16() + u"/t/a.png");
    EXPECT_EQ(ResolvePath(u"/abs/x.png", fx + u"/e.orv"), u"/abs/x.png");
    EXPECT_EQ(ResolvePath(u"/abs/../x.png", fx + u"/e.orv"), u"/x.png");
    // A relative base folder is taken against the current directory.
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(ResolvePath(u"tex/a.png", u"fx/e.orv"), GetCurrentDir() + u"/fx/tex/a.png");
    EXPECT_EQ(ResolvePath(u"tex/a.png", u"./fx/../fx/e.orv"), GetCurrentDir() + u"/fx/tex/a.png");
}

TEST_F(CurrentDirTest, ResolvePathUnchangedWhenFolderMissing) {
    TempDir dir;
    EXPECT_EQ(ResolvePath(u"tex/a.png", dir.u16() + u"/nope/e.orv"), u"tex/a.png");
    EXPECT_EQ(ResolvePath(u"tex/a.png", u"e.orv"), u"tex/a.png");  // no folder part
    // A file where the folder should be.
    { std::ofstream(dir.path() / "file"); }
    EXPECT_EQ(ResolvePath(u"a.png", dir.u16() + u"/file/e.orv"), u"a.png");
}

TEST_F(CurrentDirTest, ResolvePathUnchangedWhenFolderCannotBeEntered) {
    if (geteuid() == 0) GTEST_SKIP() << "root enters any folder";
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "locked");
    ASSERT_EQ(chmod((dir.path() / "locked").c_str(), 0600), 0);
    EXPECT_EQ(ResolvePath(u"a.png", dir.u16() + u"/locked/e.orv"), u"a.png");
    chmod((dir.path() / "locked").c_str(), 0700);
}

TEST_F(CurrentDirTest, ResolvePathLongPaths) {
    TempDir dir;
    std::filesystem::path deep = dir.path();
    for (int i = 0; i < 12; ++i) deep /= std::string(40, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    const std::u16string base = deep.u16string() + u"/e.orv";
    ASSERT_GT(base.size(), 260u);
    const std::u16string rel = std::u16string(300, u'r') + u"/x.png";
    EXPECT_EQ(ResolvePath(rel, base), deep.u16string() + u"/" + rel);
}

TEST(PathUtils, NativePathConversion) {
    std::filesystem::path p;
    ASSERT_TRUE(ToNativePath(u"/tmp/\u30c6.png", p));
    EXPECT_EQ(p.native(), "/tmp/\xe3\x83\x86.png");
    EXPECT_EQ(FromNativePath(p), u"/tmp/\u30c6.png");
    std::u16string bad = u"/x";
    bad.push_back(char16_t(0xDC00));
    EXPECT_FALSE(ToNativePath(bad, p));
    EXPECT_EQ(FromNativePath(std::filesystem::path(std::string("/x\xff"))), u"");
}

}  // namespace
