#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/cli/program_run.h"
#include "tests/support/temp_folder.h"

// What `cmake --install` puts on the system: the desktop files, the icons and the manual pages,
// checked with the desktop's own validators where they are installed, and the installed layout.
namespace orv::test {
namespace {

namespace fs = std::filesystem;

const fs::path kDesktopDir = fs::path(ORV_SOURCE_DIR) / "desktop";
const fs::path kEntry = kDesktopDir / "orv.desktop";
const fs::path kMimeInfo = kDesktopDir / "orv-effect.xml";
const std::string kMimeType = "application/x-orv-effect";

// What an outside program did: its exit status (-1 when it did not exit normally) and what it
// wrote on standard output and standard error together.
struct ToolResult {
    int status = -1;
    std::string output;
};

// Runs a program found on PATH and waits for it. RunProgram starts the file it is given, so env
// looks the name up.
ToolResult RunTool(const std::vector<std::string>& arguments) {
    const TempFolder scratch;
    const RunResult run = RunProgram("/usr/bin/env", arguments, scratch.Path());
    return {run.status, run.out + run.err};
}

// Whether a program of that name is on PATH: the validators are optional on a developer's machine.
bool HaveTool(const std::string& name) {
    return RunTool({"sh", "-c", "command -v \"$0\"", name}).status == 0;
}

// Whether the file holds the text.
bool Holds(const fs::path& file, const std::string& text) {
    return ReadFileBytes(file).find(text) != std::string::npos;
}

// Each file passes its validator without even a hint (a missing validator skips its file).
TEST(DesktopFiles, PassTheirValidatorsSilently) {
    for (const std::vector<std::string>& run :
         {std::vector<std::string>{"desktop-file-validate", kEntry.string()},
          {"xmllint", "--noout", kMimeInfo.string()},
          {"xmllint", "--noout", (kDesktopDir / "icons" / "orv.svg").string()}}) {
        if (!HaveTool(run.front())) continue;
        const ToolResult result = RunTool(run);
        EXPECT_EQ(std::pair(result.status, result.output), std::pair(0, std::string())) << run.back();
    }
}

// The entry, the file type and the icon are three files that must agree on their names, or a
// double-clicked effect opens nowhere or the menu shows no icon, with no error anywhere.
TEST(DesktopEntry, OpensTheDeclaredFileTypeWithTheInstalledProgramAndIcon) {
    // Whole lines of the entry's one group; TryExec is the editor's target and program name. (That
    // the icon orv.svg is there is the install test's.)
    for (const std::string& line : {"\nMimeType=" + kMimeType + ";\n", std::string("\nExec=orv %f\n"),
                                    std::string("\nTryExec=orv\n"), std::string("\nIcon=orv\n")})
        EXPECT_TRUE(Holds(kEntry, line)) << line;
    EXPECT_TRUE(Holds(kMimeInfo, "<mime-type type=\"" + kMimeType + "\">"));
    EXPECT_TRUE(Holds(kMimeInfo, "<icon name=\"orv\"/>"));
}

// Builds a MIME database from the package alone, as the system does after an install, and reads
// back what the desktop will believe about *.orv files.
TEST(MimeInfo, TheDatabaseTakesOrvFilesForEffectsThatAreJson) {
    if (!HaveTool("update-mime-database")) GTEST_SKIP() << "shared-mime-info is not installed";
    const TempFolder data;
    const fs::path mime = data.Path() / "mime";
    fs::create_directories(mime / "packages");
    fs::copy_file(kMimeInfo, mime / "packages" / kMimeInfo.filename());
    // Its errors in a package only show in its output; the exit status stays 0. A data folder
    // outside the search path would add a note, hence the variable.
    const ToolResult result =
        RunTool({"env", "XDG_DATA_DIRS=" + data.Path().string(), "update-mime-database", mime.string()});
    EXPECT_EQ(std::pair(result.status, result.output), std::pair(0, std::string()));

    EXPECT_TRUE(Holds(mime / "globs2", ":" + kMimeType + ":*.orv\n"));
    EXPECT_TRUE(Holds(mime / "subclasses", kMimeType + " application/json\n"));
    EXPECT_TRUE(Holds(mime / "icons", kMimeType + ":orv\n"));
    EXPECT_TRUE(Holds(mime / "application" / "x-orv-effect.xml", "<comment>orv particle effect</comment>"));
}

// (Which sizes there are is the install test's.)
TEST(Icons, EachPngHasTheSizeOfItsThemeFolderAndAnAlphaChannel) {
    for (const auto& folder : fs::directory_iterator(kDesktopDir / "icons")) {
        if (!folder.is_directory()) continue;
        const std::string name = folder.path().filename().string();
        const std::string side = name.substr(0, name.find('x'));
        EXPECT_EQ(name, side + "x" + side);
        // The image header follows the signature and the chunk's length and type; 8-bit RGBA, as
        // the tile's rounded corners are transparent.
        const auto size = std::stoul(side);
        const char high = static_cast<char>(size >> 8), low = static_cast<char>(size & 0xFF);
        const std::string header = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) +
                                   std::string{'\0', '\0', high, low, '\0', '\0', high, low, '\x08', '\x06'};
        EXPECT_EQ(ReadFileBytes(folder.path() / "orv.png").substr(0, 26), header) << name;
    }
}

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
        EXPECT_EQ(std::pair(result.status, result.output), std::pair(0, std::string())) << page;
        EXPECT_FALSE(Holds(page, "@")) << page << ": a placeholder was left unfilled";
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

// A direct install also rebuilds the prefix's MIME database, so the file type works at once. (That
// the editor finds its help document in this layout is the help document's test.)
TEST(Install, PutsEveryFileWhereTheSystemLooksForIt) {
    const TempFolder folder;
    const fs::path prefix = folder.Path();
    const ToolResult install = RunTool({ORV_CMAKE, "--install", ORV_BUILD_DIR, "--prefix", prefix.string()});
    ASSERT_EQ(install.status, 0) << install.output;
    std::vector<std::string> expected{"bin/orv-render", "share/man/man1/orv-render.1.gz",
                                      "share/doc/orv/copyright"};
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
        EXPECT_TRUE(!fs::exists(prefix / program) ||
                    (fs::status(prefix / program).permissions() & fs::perms::others_exec) != fs::perms::none)
            << program;
    }
    const ToolResult version = RunTool({(prefix / "bin" / "orv-render").string(), "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output.rfind("orv-render ", 0), 0u) << version.output;
    if (ORV_WITH_EDITOR && HaveTool("update-mime-database")) {
        EXPECT_TRUE(Holds(prefix / "share/mime/globs2", "application/x-orv-effect:*.orv")) << install.output;
    }
}

}  // namespace
}  // namespace orv::test
