// orv-convert as a pipeline runs it: exit status, the report, the files it writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/program_run.h"
#include "tests/support/temp_folder.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

class OrvConvertTest : public ::testing::Test {
protected:
    RunResult Run(std::vector<std::string> args) const { return RunProgram(ORV_CONVERT_EXE, args, dir_); }
    std::string In(const std::string& name) const { return (dir_ / name).string(); }

    const std::string fire_ = ORV_SOURCE_DIR "/examples/fire.orv";
    const TempFolder folder_{"orv-convert-"};
    const fs::path dir_ = folder_.Path();
};

TEST_F(OrvConvertTest, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{},
                                               {fire_},
                                               {fire_, In("x.png")},
                                               {fire_, In("x.p")},
                                               {In("x.txt"), In("y.orv")},
                                               {"--width", "0", fire_, In("y.plist")},
                                               {"--bogus", fire_, In("y.plist")}}) {
        const RunResult result = Run(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("orv-convert: "), std::string::npos);
    }
    EXPECT_EQ(Run({"--help"}).status, 0);
    EXPECT_NE(Run({"--version"}).out.find("orv-convert "), std::string::npos);
}

TEST_F(OrvConvertTest, FailuresExitWithOneAndWriteNothing) {
    WriteFileBytes(dir_ / "broken.plist", "<plist><dict><key>speed</key>");
    const RunResult broken = Run({In("broken.plist"), In("out.orv")});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("malformed"), std::string::npos) << broken.err;
    EXPECT_FALSE(fs::exists(dir_ / "out.orv"));
    EXPECT_EQ(Run({In("absent.pex"), In("out.orv")}).status, 1);
    EXPECT_EQ(Run({fire_, In("no/such/folder/out.plist")}).status, 1);
}

TEST_F(OrvConvertTest, EffectToOneFilePerEmitterAndBack) {
    const RunResult out = Run({"--embed", fire_, In("fire.pex")});
    ASSERT_EQ(out.status, 0) << out.err;
    // The fire's embers swing sideways, which no engine file holds.
    EXPECT_NE(out.out.find("emitter \"embers\": dropped: hor_amplitude 12"), std::string::npos) << out.out;
    for (const char* name : {"fire-smoke.pex", "fire-glow.pex", "fire-flames.pex", "fire-embers.pex"})
        EXPECT_TRUE(fs::exists(dir_ / name)) << name;
    // The embedded texture comes back as a PNG beside the converted effect.
    fs::create_directories(dir_ / "back");
    fs::copy_file(dir_ / "fire-flames.pex", dir_ / "back" / "flames.pex");
    const RunResult back = Run({In("back/flames.pex"), In("back/flames.orv")});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_TRUE(fs::exists(dir_ / "back" / "flame.png"));
    EXPECT_NE(ReadFileBytes(dir_ / "back/flames.orv").find("\"filename\": \"flame.png\""), std::string::npos);
}

}  // namespace
}  // namespace orv::test
