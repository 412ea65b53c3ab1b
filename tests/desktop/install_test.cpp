#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/desktop/tool_run.h"

#if ORV_WITH_EDITOR
#include <QString>

#include "app/dialogs/help.h"
#endif

namespace orv::test {
namespace {

namespace fs = std::filesystem;

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override { install_ = RunTool({ORV_CMAKE, "--install", ORV_BUILD_DIR, "--prefix", prefix_.string()}); }

    const TempFolder folder_;
    const fs::path prefix_ = folder_.Path();
    ToolResult install_;
};

TEST_F(InstallTest, PutsEveryFileWhereTheSystemLooksForIt) {
    ASSERT_EQ(install_.status, 0) << install_.output;
    std::vector<std::string> expected{"bin/orv-render", "share/man/man1/orv-render.1.gz", "share/doc/orv/copyright"};
    if (ORV_WITH_CONVERT) expected.push_back("bin/orv-convert");
    if (ORV_WITH_EDITOR) {
        for (const char* path : {"bin/orv", "share/orv/orv-help.html", "share/man/man1/orv.1.gz",
                                 "share/applications/orv.desktop", "share/mime/packages/orv-effect.xml",
                                 "share/icons/hicolor/scalable/apps/orv.svg"})
            expected.push_back(path);
        for (const char* size : {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"})
            expected.push_back(std::string("share/icons/hicolor/") + size + "/apps/orv.png");
    }
    for (const std::string& path : expected) EXPECT_TRUE(fs::is_regular_file(prefix_ / path)) << path;
    for (const char* program : {"bin/orv", "bin/orv-render", "bin/orv-convert"}) {
        if (fs::exists(prefix_ / program)) {
            EXPECT_NE(fs::status(prefix_ / program).permissions() & fs::perms::others_exec, fs::perms::none);
        }
    }
    const ToolResult version = RunTool({(prefix_ / "bin" / "orv-render").string(), "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output.rfind("orv-render ", 0), 0u) << version.output;
}

#if ORV_WITH_EDITOR
// The installed editor finds its help document in its own prefix, and a direct install rebuilds
// the prefix's MIME database so the file type works at once.
TEST_F(InstallTest, InstalledEditorFindsItsHelpAndTheDesktopItsFileType) {
    ASSERT_EQ(install_.status, 0) << install_.output;
    const QString bin = QString::fromStdString((prefix_ / "bin").string());
    EXPECT_EQ(FindHelpDocument(bin).toStdString(), (prefix_ / "share/orv/orv-help.html").string());
    if (!HaveTool("update-mime-database")) GTEST_SKIP() << "shared-mime-info is not installed";
    EXPECT_NE(ReadFileBytes(prefix_ / "share/mime/globs2").find("application/x-orv-effect:*.orv"), std::string::npos)
        << install_.output;
}
#endif

}  // namespace
}  // namespace orv::test
