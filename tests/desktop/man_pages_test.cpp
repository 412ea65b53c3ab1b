#include <gtest/gtest.h>

#include <filesystem>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "tests/desktop/tool_run.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> ManPages() {
    std::vector<fs::path> pages{fs::path(ORV_MAN_DIR) / "orv-render.1"};
    if (ORV_WITH_EDITOR) pages.push_back(fs::path(ORV_MAN_DIR) / "orv.1");
    return pages;
}

// Every long option a text names: "--fps" in the help, "\-\-fps" in roff.
std::set<std::string> OptionsNamed(const std::string& text, const std::string& dash) {
    const std::string dashes = dash + dash;
    std::set<std::string> options;
    for (auto at = text.find(dashes); at != std::string::npos; at = text.find(dashes, at + 1)) {
        auto end = at + dashes.size();
        if (end >= text.size() || text[end] < 'a' || text[end] > 'z') continue;
        while (end < text.size() && (std::islower(static_cast<unsigned char>(text[end])) ||
                                     std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '-'))
            ++end;
        options.insert(text.substr(at + dashes.size(), end - at - dashes.size()));
    }
    return options;
}

// (That they are installed compressed is the install test's.)
TEST(ManPages, FormatWithoutAWarning) {
    const bool groff = HaveTool("groff"), mandoc = HaveTool("mandoc");
    if (!groff && !mandoc) GTEST_SKIP() << "neither groff nor mandoc is installed";
    for (const fs::path& page : ManPages()) {
        ASSERT_TRUE(fs::is_regular_file(page)) << page;
        const ToolResult result = groff ? RunTool({"groff", "-man", "-Tutf8", "-ww", "-z", page.string()})
                                        : RunTool({"mandoc", "-T", "lint", "-W", "warning", page.string()});
        EXPECT_EQ(result.status, 0) << page << "\n" << result.output;
        EXPECT_EQ(result.output, "") << page;
        EXPECT_EQ(ReadFileBytes(page).find('@'), std::string::npos) << page << ": a placeholder was left unfilled";
    }
}

// The page is written by hand; this keeps it from falling behind the program's own options.
TEST(ManPages, RenderPageDescribesExactlyTheOptionsOfHelp) {
    const ToolResult help = RunTool({ORV_RENDER_EXE, "--help"});
    ASSERT_EQ(help.status, 0);
    const std::set<std::string> helpOptions = OptionsNamed(help.output, "-");
    ASSERT_GE(helpOptions.size(), 9u) << help.output;
    EXPECT_EQ(OptionsNamed(ReadFileBytes(fs::path(ORV_MAN_DIR) / "orv-render.1"), R"(\-)"), helpOptions);
}

}  // namespace
}  // namespace orv::test
