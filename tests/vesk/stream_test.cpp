#include "vesk/stream.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "tests/vesk/temp_dir.h"

namespace {

using vesk::CBasicStream;
using vesk::OpenFileStream;

void WriteFile(const std::filesystem::path& p, const std::string& data) {
    std::ofstream f(p, std::ios::binary);
    f << data;
}

std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST(Stream, ReadOnlyOnMissingFileIsNull) {
    TempDir dir;
    EXPECT_EQ(OpenFileStream(dir.u16("missing.bin"), 1), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing.bin"));
}

TEST(Stream, ModeWithoutBitsOrEmptyPathOrDirectoryIsNull) {
    TempDir dir;
    WriteFile(dir.path() / "f", "abc");
    EXPECT_EQ(OpenFileStream(dir.u16("f"), 0), nullptr);
    EXPECT_EQ(OpenFileStream(u"", 1), nullptr);
    EXPECT_EQ(OpenFileStream(dir.u16(), 1), nullptr);
    EXPECT_EQ(OpenFileStream(dir.u16(), 2), nullptr);
}

TEST(Stream, MalformedUtf16PathIsNull) {
    TempDir dir;
    std::u16string p = dir.u16() + u"/a";
    p += char16_t(0xD800);
    EXPECT_EQ(OpenFileStream(p, 2), nullptr);
}

TEST(Stream, WriteCreatesAndReadsBack) {
    TempDir dir;
    const auto path = dir.u16("out.bin");
    {
        auto s = OpenFileStream(path, 2);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Write("hello world", 11), 11u);
        EXPECT_EQ(s->Tell(), 11u);
        EXPECT_EQ(s->GetSize(), 11u);
        char buf[4];
        EXPECT_EQ(s->Read(buf, 4), 0u);  // write-only
    }
    EXPECT_EQ(ReadFile(dir.path() / "out.bin"), "hello world");
    auto s = OpenFileStream(path, 1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetSize(), 11u);
    char buf[32] = {};
    EXPECT_EQ(s->Read(buf, 5), 5u);
    EXPECT_EQ(std::string(buf, 5), "hello");
    EXPECT_EQ(s->Write("x", 1), 0u);  // read-only
}

TEST(Stream, WriteTruncatesExistingFile) {
    TempDir dir;
    WriteFile(dir.path() / "t.bin", "a long existing content");
    {
        auto s = OpenFileStream(dir.u16("t.bin"), 2);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->GetSize(), 0u);
        EXPECT_EQ(s->Write("ab", 2), 2u);
    }
    EXPECT_EQ(ReadFile(dir.path() / "t.bin"), "ab");
}

TEST(Stream, ReadWriteModeTruncatesAndAllowsBoth) {
    TempDir dir;
    WriteFile(dir.path() / "rw.bin", "old old old");
    auto s = OpenFileStream(dir.u16("rw.bin"), 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetSize(), 0u);
    EXPECT_EQ(s->Write("0123456789", 10), 10u);
    EXPECT_TRUE(s->Seek(2, vesk::kSeekBegin));
    char buf[4] = {};
    EXPECT_EQ(s->Read(buf, 3), 3u);
    EXPECT_EQ(std::string(buf, 3), "234");
}

TEST(Stream, ShortReadAtEndOfFile) {
    TempDir dir;
    WriteFile(dir.path() / "s.bin", "12345");
    auto s = OpenFileStream(dir.u16("s.bin"), 1);
    ASSERT_NE(s, nullptr);
    char buf[16] = {};
    EXPECT_TRUE(s->Seek(3, vesk::kSeekBegin));
    EXPECT_EQ(s->Read(buf, 16), 2u);
    EXPECT_EQ(std::string(buf, 2), "45");
    EXPECT_EQ(s->Read(buf, 16), 0u);
    EXPECT_EQ(s->Tell(), 5u);
}

TEST(Stream, SeekOrigins) {
    TempDir dir;
    WriteFile(dir.path() / "k.bin", "0123456789abcdef");
    auto s = OpenFileStream(dir.u16("k.bin"), 1);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->Seek(0, 2));
    EXPECT_EQ(s->Tell(), 16u);
    EXPECT_TRUE(s->Seek(0, 1));
    EXPECT_EQ(s->Tell(), 0u);
    EXPECT_TRUE(s->Seek(5, 0));
    EXPECT_EQ(s->Tell(), 5u);
    EXPECT_TRUE(s->Seek(5, 0));
    EXPECT_EQ(s->Tell(), 10u);
    EXPECT_TRUE(s->Seek(-3, 0));
    EXPECT_EQ(s->Tell(), 7u);
    EXPECT_TRUE(s->Seek(-4, 2));
    EXPECT_EQ(s->Tell(), 12u);
    char c = 0;
    EXPECT_EQ(s->Read(&c, 1), 1u);
    EXPECT_EQ(c, 'c');
    // Any other origin behaves as "current".
    EXPECT_TRUE(s->Seek(-2, 7));
    EXPECT_EQ(s->Tell(), 11u);
    EXPECT_TRUE(s->Seek(1, -1));
    EXPECT_EQ(s->Tell(), 12u);
    // A seek before the start fails in the OS but still reports true; the position stays.
    EXPECT_TRUE(s->Seek(-100, 1));
    EXPECT_EQ(s->Tell(), 12u);
}

TEST(Stream, ClosedStreamDoesNothing) {
    CBasicStream s;
    char buf[4];
    EXPECT_FALSE(s.IsOpen());
    EXPECT_FALSE(s.Seek(0, 1));
    EXPECT_EQ(s.Read(buf, 4), 0u);
    EXPECT_EQ(s.Write("abcd", 4), 0u);
    EXPECT_EQ(s.Tell(), 0u);
    EXPECT_EQ(s.GetSize(), 0u);
}

TEST(Stream, SecondOpenIsRefusedAndDoesNotTruncate) {
    TempDir dir;
    const auto path = dir.u16("x.bin");
    auto first = OpenFileStream(path, 2);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Write("keep me", 7), 7u);
    EXPECT_EQ(OpenFileStream(path, 1), nullptr);
    EXPECT_EQ(OpenFileStream(path, 2), nullptr);
    EXPECT_EQ(OpenFileStream(path, 3), nullptr);
    EXPECT_EQ(first->GetSize(), 7u);
    EXPECT_EQ(ReadFile(dir.path() / "x.bin"), "keep me");
    first.reset();
    // Closed: open again.
    auto again = OpenFileStream(path, 1);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetSize(), 7u);
    EXPECT_EQ(OpenFileStream(path, 1), nullptr);  // even a reader excludes readers
}

TEST(Stream, ExclusiveAcrossProcesses) {
    TempDir dir;
    const auto path = dir.u16("p.bin");
    auto first = OpenFileStream(path, 1 | 2);
    ASSERT_NE(first, nullptr);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        auto second = OpenFileStream(path, 1);
        _exit(second == nullptr ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(Stream, NonAsciiPath) {
    TempDir dir;
    std::u16string path = dir.u16() + u"/\u30c6\u30af\u30b9\u30c1\u30e3 \U0001F600.png";
    {
        auto s = OpenFileStream(path, 2);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Write("z", 1), 1u);
    }
    EXPECT_TRUE(std::filesystem::exists(
        dir.path() / std::filesystem::path(u8"\u30c6\u30af\u30b9\u30c1\u30e3 \U0001F600.png")));
}

TEST(Stream, UsableThroughBaseClass) {
    TempDir dir;
    std::unique_ptr<vesk::CStream> s = OpenFileStream(dir.u16("b.bin"), 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Write("abc", 3), 3u);
    EXPECT_TRUE(s->Seek(0, vesk::kSeekBegin));
    char buf[3];
    EXPECT_EQ(s->Read(buf, 3), 3u);
}

}  // namespace
