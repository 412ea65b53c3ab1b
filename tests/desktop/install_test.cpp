#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/desktop/tool_run.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

// A direct install also rebuilds the prefix's MIME database, so the file type works at once. (That
// the editor finds its help document in this layout is the help document's test.)
TEST(Install, PutsEveryFileWhereTheSystemLooksForIt) {
    const TempFolder folder;
    const fs::path prefix = folder.Path();
    const ToolResult install = RunTool({ORV_CMAKE, "--install", ORV_BUILD_DIR, "--prefix", prefix.string()});
    ASSERT_EQ(install.status, 0) << install.output;
    std::vector<std::string> expected{"bin/orv-render", "share/man/man1/orv-render.1.gz", "share/doc/orv/copyright"};
    if (ORV_WITH_CONVERT) expected.push_back("bin/orv-convert");
    if (ORV_WITH_EDITOR) {
        for (const char* path :
             {"bin/orv", "share/orv/orv-help.html", "share/orv/orv-help.en.html", "share/orv/orv-help.css",
              "share/man/man1/orv.1.gz", "share/applications/orv.desktop",
              "share/mime/packages/orv-effect.xml", "share/icons/hicolor/scalable/apps/orv.svg"})
            expected.push_back(path);
        for (const char* size : {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"})
            expected.push_back(std::string("share/icons/hicolor/") + size + "/apps/orv.png");
    }
    for (const std::string& path : expected) EXPECT_TRUE(fs::is_regular_file(prefix / path)) << path;
    for (const char* program : {"bin/orv", "bin/orv-render", "bin/orv-convert"}) {
        if (fs::exists(prefix / program)) {
            EXPECT_NE(fs::status(prefix / program).permissions() & fs::perms::others_exec, fs::perms::none);
        }
    }
    const ToolResult version = RunTool({(prefix / "bin" / "orv-render").string(), "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output.rfind("orv-render ", 0), 0u) << version.output;
    if (ORV_WITH_EDITOR && HaveTool("update-mime-database")) {
        EXPECT_NE(ReadFileBytes(prefix / "share/mime/globs2").find("application/x-orv-effect:*.orv"),
                  std::string::npos)
            << install.output;
    }
}

}  // namespace
}  // namespace orv::test
