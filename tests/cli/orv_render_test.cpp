#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

class OrvRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("orv_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs orv-render with standard output and error captured in files (neither is a terminal).
    RunResult Run(const std::vector<std::string>& arguments) const {
        std::string command = Quote(ORV_RENDER_EXE);
        for (const std::string& argument : arguments) command += " " + Quote(argument);
        command +=
            " >" + Quote((dir_ / "stdout.txt").string()) + " 2>" + Quote((dir_ / "stderr.txt").string());
        const int raw = std::system(command.c_str());
        RunResult result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = ReadFile(dir_ / "stdout.txt");
        result.err = ReadFile(dir_ / "stderr.txt");
        fs::remove(dir_ / "stdout.txt");
        fs::remove(dir_ / "stderr.txt");
        return result;
    }

    fs::path WriteEffect(const std::string& name, const std::string& text) const {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    static std::string Example(const std::string& name) {
        return std::string(ORV_SOURCE_DIR) + "/examples/" + name;
    }

    std::vector<std::string> FilesIn(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

TEST_F(OrvRenderTest, UsageErrorsExitWithTwoAndNameTheProblem) {
    const std::string effect = Example("fire.orv");
    const std::string out = (dir_ / "out" / "frame").string();
    struct Case {
        std::vector<std::string> arguments;
        std::string mentioned;
    };
    const std::vector<Case> cases = {
        {{}, "expected an effect file"},
        {{effect}, "expected an effect file"},
        {{effect, out, "extra"}, "extra"},
        {{"--bogus", effect, out}, "--bogus"},
        {{"--seconds", "0", effect, out}, "--seconds"},
        {{"--seconds", "-1", effect, out}, "--seconds"},
        {{"--seconds", "2x", effect, out}, "--seconds"},
        {{"--fps", "25", effect, out}, "--fps"},
        {{"--width", "0", effect, out}, "--width"},
        {{"--height", "abc", effect, out}, "--height"},
        {{"--interpolate", "cubic", effect, out}, "--interpolate"},
        {{"--sse2", "maybe", effect, out}, "--sse2"},
        {{effect, out, "--fps"}, "needs a value"},
        {{"--quiet=yes", effect, out}, "--quiet"},
        {{effect, ""}, "output base"},
    };
    for (const Case& c : cases) {
        const RunResult result = Run(c.arguments);
        std::string shown;
        for (const auto& a : c.arguments) shown += "[" + a + "]";
        EXPECT_EQ(result.status, 2) << shown;
        EXPECT_NE(result.err.find(c.mentioned), std::string::npos) << shown << "\n" << result.err;
        EXPECT_NE(result.err.find("--help"), std::string::npos) << shown;
    }
    EXPECT_FALSE(fs::exists(dir_ / "out"));  // nothing ran
}

TEST_F(OrvRenderTest, HelpExplainsEveryOptionWithAnExample) {
    const RunResult result = Run({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* word :
         {"--seconds", "--fps", "--width", "--height", "--interpolate", "--sse2", "--quiet", "--help",
          "--version", "Example", "Exit status", "EFFECT.orv OUTPUT_BASE"}) {
        EXPECT_NE(result.out.find(word), std::string::npos) << word;
    }
    const RunResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("orv-render ", 0), 0u) << version.out;
}

TEST_F(OrvRenderTest, UnreadableOrMalformedEffectExitsWithOne) {
    const std::string out = (dir_ / "out" / "frame").string();

    const RunResult missing = Run({(dir_ / "absent.orv").string(), out});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("absent.orv"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("No such file"), std::string::npos) << missing.err;

    const fs::path broken = WriteEffect("broken.orv", "{\n\t\"emitter\": [\n\t\t{\n\t\t\t\"type\": \n");
    const RunResult malformed = Run({broken.string(), out});
    EXPECT_EQ(malformed.status, 1);
    EXPECT_NE(malformed.err.find("broken.orv"), std::string::npos) << malformed.err;
    EXPECT_NE(malformed.err.find("syntax error"), std::string::npos) << malformed.err;

    EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST_F(OrvRenderTest, OutputFolderIsCreatedWithItsParents) {
    const RunResult result = Run({"--seconds", "1", "--fps", "15", "--width", "40", "--height", "30",
                                  Example("sparks.orv"), (dir_ / "a" / "b" / "c" / "spark.png").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err;  // no terminal: no progress bar, no warnings
    const std::vector<std::string> files = FilesIn(dir_ / "a" / "b" / "c");
    ASSERT_EQ(files.size(), 15u);
    EXPECT_EQ(files.front(), "spark000000.png");
    EXPECT_EQ(files.back(), "spark000014.png");
    EXPECT_NE(result.out.find("15 frames"), std::string::npos) << result.out;
}

TEST_F(OrvRenderTest, FolderThatCannotBeCreatedExitsWithOne) {
    WriteEffect("in-the-way", "a file, not a folder");
    const RunResult result = Run({Example("fire.orv"), (dir_ / "in-the-way" / "sub" / "frame").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("in-the-way"), std::string::npos) << result.err;
}

TEST_F(OrvRenderTest, FrameThatCannotBeWrittenExitsWithOneAfterOneMessage) {
    fs::create_directories(dir_ / "out" / "frame000001.png");  // a folder where frame 1 should go
    const RunResult result = Run({"--seconds", "2", "--width", "40", "--height", "30", Example("fire.orv"),
                                  (dir_ / "out" / "frame").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("frame000001.png"), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_EQ(FilesIn(dir_ / "out"), (std::vector<std::string>{"frame000000.png", "frame000001.png"}));
}

TEST_F(OrvRenderTest, RenderingIsTheSameInEveryProcess) {
    for (const char* name : {"first", "second"}) {
        const RunResult result =
            Run({"--quiet", "--seconds", "1", "--fps", "15", "--width", "96", "--height", "72",
                 "--interpolate", "bilinear", Example("vortex.orv"), (dir_ / name / "frame").string()});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;  // --quiet
    }
    const std::vector<std::string> files = FilesIn(dir_ / "first");
    ASSERT_EQ(files.size(), 15u);
    ASSERT_EQ(FilesIn(dir_ / "second"), files);
    for (const std::string& file : files) {
        EXPECT_EQ(ReadFile(dir_ / "first" / file), ReadFile(dir_ / "second" / file)) << file;
    }
    // The frames do move: the effect is not a still picture.
    EXPECT_NE(ReadFile(dir_ / "first" / files.front()), ReadFile(dir_ / "first" / files.back()));
}

}  // namespace
