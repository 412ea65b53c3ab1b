#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "effectfile/effect_loading.h"
#include "effectfile/effect_writer.h"
#include "engine/effect.h"
#include "tests/cli/program_run.h"
#include "tests/support/temp_folder.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

class OrvRenderTest : public ::testing::Test {
protected:
    RunResult Run(std::vector<std::string> args) const { return RunProgram(ORV_RENDER_EXE, args, dir_); }

    const std::string fire_ = ORV_SOURCE_DIR "/examples/fire.orv";
    const TempFolder folder_{"orv-cli-"};
    const fs::path dir_ = folder_.Path();
};

// Usage errors exit with 2, name the problem and point to --help; what cannot be read or written
// exits with 1 and one line naming it. (Which frames a failed render keeps is the render job's test.)
TEST_F(OrvRenderTest, FailuresExitWithTheirStatusAndNameTheProblem) {
    const std::string out = (dir_ / "out" / "frame").string(), sub = (dir_ / "in-the-way" / "sub").string();
    WriteFileBytes(dir_ / "broken.orv", "{\n\t\"emitter\": [\n\t\t{\n\t\t\t\"type\": \n");
    WriteFileBytes(dir_ / "in-the-way", "a file, not a folder");
    fs::create_directories(dir_ / "blocked" / "frame000001.png");  // a folder where frame 1 should go
    struct Case {
        std::vector<std::string> arguments;
        std::string mentioned;
        int status = 2;
    };
    std::vector<Case> cases = {
        {{}, "expected an effect file and an output base"},
        {{fire_, out, "extra"}, "too many arguments: 'extra'"},
        {{fire_, out, "--fps"}, "option '--fps' needs a value"},
        {{fire_, ""}, "the output base is empty"},
        {{"--loop", "--frames=10-600", fire_, out}, "the loop has 600 frames (0 to 599)"},
        // Options of one format given with another are mistakes, not silently ignored.
        {{"--columns=3", fire_, out}, "'--columns' applies to --format sheet only"},
        {{"--format=gif", "--trim", fire_, out}, "'--trim' applies to --format sheet only"},
        {{"--format=sheet", "--quality=80", fire_, out}, "'--quality' applies to --format webp only"},
        {{"--format=apng", fire_, out + "/"}, "--format apng needs a file title"},
        {{(dir_ / "absent.orv").string(), out}, "absent.orv\": No such file", 1},
        {{(dir_ / "broken.orv").string(), out}, "broken.orv\": syntax error", 1},
        {{fire_, sub + "/frame"}, "output folder \"" + sub + "/", 1},
        {{"--width=40", "--height=30", fire_, (dir_ / "blocked/frame").string()}, "frame000001.png", 1}};
    // A wrong option or value; the message names the option.
    std::istringstream badOptions(
        "--bogus --seconds=0 --seconds=-1 --seconds=2x --fps=25 --width=0 --height=abc --width=10000 "
        "--height=65536 --height=4294967296 --interpolate=cubic --sse2=maybe --quiet=yes --threads=0 "
        "--threads=257 --threads=two --png-compression=best --seed=-1 --seed=18446744073709551616 "
        "--seed=x --start=-1 --start=abc --start=1e3 --start=.5 --start=2. --start=4294967296 "
        "--frames=5-3 --frames=5 --frames=a-b --frames=-1-3 --frames=599-600 --loop=yes --format=jpeg "
        "--format= --columns=0 --columns=x --quality=101 --quality=-1 --trim=yes");
    for (std::string bad; badOptions >> bad;)
        cases.push_back({{bad, fire_, out}, '\'' + bad.substr(0, bad.find('=')) + '\''});
    for (const Case& c : cases) {
        const RunResult result = Run(c.arguments);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.err.find(c.mentioned), std::string::npos) << result.err;
        const bool oneLine = std::count(result.err.begin(), result.err.end(), '\n') == 1;
        EXPECT_TRUE(c.status == 2 ? result.err.find("--help") != std::string::npos : oneLine) << result.err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "out"));  // nothing ran
}

// Each format named on the command line writes its files into folders it creates, and names them;
// "--" ends the options. (That every thread count writes the same bytes is the render job's test.)
TEST_F(OrvRenderTest, EveryFormatWritesItsFilesIntoFoldersItCreates) {
    // The format, how many files it writes and the last of them.
    const std::tuple<std::string, std::size_t, std::string> formats[] = {
        {"png", 15, "f000014.png"}, {"sheet", 2, "f.png"}, {"apng", 1, "f.png"},
        {"webp", 1, "f.webp"},      {"gif", 1, "f.gif"},
    };
    for (const auto& [format, count, last] : formats) {
        const fs::path folder = dir_ / format / "a";
        const bool quiet = format == "sheet" || format == "gif";
        const RunResult result =
            Run({"--seconds=1", "--fps=15", "--width=40", "--height=30", "--interpolate=bilinear",
                 "--format=" + format, "--threads=3", quiet ? "--quiet" : "--",
                 ORV_SOURCE_DIR "/examples/vortex.orv", (folder / "f").string()});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");  // no terminal: no progress bar, and no warnings
        const std::vector<std::string> files = FileNamesIn(folder);
        ASSERT_FALSE(files.empty()) << format;
        EXPECT_EQ(std::pair(files.size(), files.back()), std::pair(count, last)) << format;
        const bool reported = result.out.rfind("orv-render: wrote 15 frames", 0) == 0 &&
                              result.out.find((folder / files.back()).string()) != std::string::npos;
        EXPECT_TRUE(quiet ? result.out.empty() : reported) << result.out;
    }
}

// Split over processes, started late or seeded: the frames of the same whole render.
TEST_F(OrvRenderTest, SeedsRangesAndLoopsGiveTheSameFramesInEveryProcess) {
    // Options and effect; the frames' folder.
    const auto render = [&](std::vector<std::string> arguments, const std::string& folder) {
        arguments.insert(arguments.begin(),
                         {"--quiet", "--seconds=1", "--fps=15", "--width=48", "--height=64", "--sse2=off"});
        arguments.push_back((dir_ / folder / "f").string());
        const RunResult result = Run(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        std::map<std::string, std::string> frames;  // every file with its bytes
        for (const auto& name : FileNamesIn(dir_ / folder))
            frames[name] = ReadFileBytes(dir_ / folder / name);
        return frames;
    };
    const auto whole = render({fire_}, "whole");
    ASSERT_EQ(whole.size(), 15u);
    render({"--frames=0-6", fire_}, "parts");
    EXPECT_EQ(render({"--frames", "7-14", fire_}, "parts"), whole);
    // A start offset of 2/15 s shifts the sequence by two frames.
    const auto started = render({"--start=0.1333", fire_}, "started");
    EXPECT_EQ(started.at("f000000.png"), whole.at("f000002.png"));
    EXPECT_EQ(started.at("f000012.png"), whole.at("f000014.png"));

    // A seed saved in the file, or given with --seed, gives the same frames.
    Effect effect;
    ASSERT_TRUE(LoadEffect(effect, fs::path(fire_).u16string(), false).loaded);
    effect.SetSeed(77);
    ASSERT_FALSE(SaveEffect(effect, (dir_ / "seeded.orv").u16string()));
    const auto seeded = render({(dir_ / "seeded.orv").string()}, "saved");
    EXPECT_NE(seeded, whole);
    EXPECT_EQ(render({"--seed=77", fire_}, "overridden"), seeded);

    // A loop split over processes with writer threads; another warm-up is another loop.
    const auto loop = render({"--loop", "--seed=4", "--threads=1", fire_}, "loop");
    ASSERT_EQ(loop.size(), 15u);
    render({"--loop", "--seed=4", "--frames=0-5", fire_}, "loop-parts");
    EXPECT_EQ(render({"--loop", "--seed=4", "--frames=6-14", "--threads=3", fire_}, "loop-parts"), loop);
    EXPECT_NE(render({"--loop", "--seed=4", "--start=0.5", fire_}, "loop-started"), loop);
}

TEST_F(OrvRenderTest, MemoryStaysWithinThreadsPlusTwoFramesHoweverLongTheRender) {
    // AddressSanitizer keeps freed blocks aside (256 MB by default) to catch late uses; blocks freed
    // every frame would count as the program's memory. A small quarantine measures the program.
    const std::string sanitizer = std::getenv("ASAN_OPTIONS") != nullptr ? std::getenv("ASAN_OPTIONS") : "";
    if (sanitizer.find("quarantine_size_mb") == std::string::npos)
        setenv("ASAN_OPTIONS", (sanitizer + ":quarantine_size_mb=8").c_str(), 1);
    // Runs orv-render quietly and returns its peak resident memory in bytes.
    const auto peakMemory = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--quiet", "--fps=15", fire_, (dir_ / "out" / "f").string()});
        const pid_t child = StartProgram(ORV_RENDER_EXE, arguments, "/dev/null", dir_ / "err.txt");
        int status = 0;
        rusage usage{};
        // A wait status of 0: exited with status 0.
        EXPECT_TRUE(child != 0 && wait4(child, &status, 0, &usage) == child && status == 0)
            << ReadFileBytes(dir_ / "err.txt");
        fs::remove_all(dir_ / "out");
        return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // reported in KiB
    };
    const std::uint64_t baseline = peakMemory({"--width=4", "--height=4", "--seconds=1", "--threads=1"});
    // Frames of 12 MB that draw in a blink and take far longer to write: writers that fell behind
    // without a bound would hold most of them at once.
    constexpr std::uint64_t kFrameBytes = 2000ull * 1500 * 4;
    // The encoders' working memory, allocator rounding, sanitizer shadow.
    constexpr std::uint64_t kSlack = 40ull << 20;
    // A sequence holds the frames being written and drawn. A seamless loop keeps copies of the
    // simulation, never frames. The one-file formats hold the three frames of one encoder thread,
    // plus a row of cells for the sheet (four frames fit in 8192 pixels; trimming adds a frame
    // read back and its packed bytes) or one frame's colours and palette indices for the GIF; a
    // format that kept its frames would take all of them.
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"--seconds=3", "--threads=1"}, 1},
        {{"--seconds=3", "--threads=2"}, 4},
        {{"--seconds=3", "--threads=2", "--loop"}, 4},
        {{"--seconds=1", "--threads=2", "--format=apng"}, 3},
        {{"--seconds=1", "--threads=2", "--format=sheet"}, 7},
        {{"--seconds=1", "--threads=2", "--format=sheet", "--trim"}, 9},
        {{"--seconds=1", "--threads=2", "--format=gif"}, 6},
    };
    for (auto [options, frames] : cases) {
        SCOPED_TRACE(::testing::PrintToString(options));
        options.insert(options.end(), {"--width=2000", "--height=1500", "--png-compression=fast"});
        const std::uint64_t peak = peakMemory(options);
        EXPECT_LE(peak, baseline + frames * kFrameBytes + kSlack)
            << (peak - baseline) / kFrameBytes << " frames above the baseline";
    }
}

TEST_F(OrvRenderTest, InterruptStopsBetweenFramesAndKeepsAnUnbrokenRunFromTheFirst) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        const fs::path out = dir_ / ("out" + std::to_string(signal));
        const std::vector<std::string> args = {"--seconds=600", "--threads=2", fire_, (out / "f").string()};
        const pid_t child = StartProgram(ORV_RENDER_EXE, args, "/dev/null", dir_ / "err.txt");
        ASSERT_NE(child, 0);
        // Wait for the first frames: a signal before the handlers are set would end it the hard way.
        for (int i = 0; i < 6000 && !fs::exists(out / "f000002.png"); ++i) usleep(10'000);
        kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
        EXPECT_NE(ReadFileBytes(dir_ / "err.txt").find("orv-render: interrupted: "), std::string::npos);

        const std::vector<std::string> files = FileNamesIn(out);
        ASSERT_GE(files.size(), 3u);  // (that it stopped before the end is what status 130 says)
        // The frames stay an unbroken run from 0, with no temporary files.
        for (std::size_t i = 0; i < files.size(); ++i) {
            std::string expected = std::to_string(1000000 + i) + ".png";  // "f" + six digits
            expected[0] = 'f';
            EXPECT_EQ(files[i], expected);
        }
    }
}

}  // namespace
}  // namespace orv::test
