#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/desktop/tool_run.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

const fs::path kDesktopDir = fs::path(ORV_SOURCE_DIR) / "desktop";
const fs::path kEntry = kDesktopDir / "orv.desktop";
const fs::path kMimeInfo = kDesktopDir / "orv-effect.xml";
const std::string kMimeType = "application/x-orv-effect";

// The keys of the entry's [Desktop Entry] group, untranslated ones only.
std::map<std::string, std::string> DesktopEntryKeys() {
    std::istringstream lines(ReadFileBytes(kEntry));
    std::map<std::string, std::string> keys;
    bool inGroup = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.front() == '[') inGroup = line == "[Desktop Entry]";
        const auto equals = line.find('=');
        if (inGroup && equals != std::string::npos && line.find('[') == std::string::npos)
            keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

// Each file passes its validator without even a hint (a missing validator skips its file).
TEST(DesktopFiles, PassTheirValidatorsSilently) {
    const std::vector<std::vector<std::string>> runs = {
        {"desktop-file-validate", kEntry.string()},
        {"xmllint", "--noout", kMimeInfo.string()},
        {"xmllint", "--noout", (kDesktopDir / "icons" / "orv.svg").string()}};
    for (const std::vector<std::string>& run : runs) {
        if (!HaveTool(run.front())) continue;
        const ToolResult result = RunTool(run);
        EXPECT_EQ(result.status, 0) << run.back();
        EXPECT_EQ(result.output, "") << run.back();
    }
}

// The entry, the file type and the icon are three files that must agree on their names, or a
// double-clicked effect opens nowhere or the menu shows no icon, with no error anywhere.
TEST(DesktopEntry, OpensTheDeclaredFileTypeWithTheInstalledProgramAndIcon) {
    const std::map<std::string, std::string> keys = DesktopEntryKeys();
    EXPECT_NE(ReadFileBytes(kMimeInfo).find("<mime-type type=\"" + kMimeType + "\">"), std::string::npos);
    // TryExec is the editor's target and program name.
    EXPECT_EQ(std::tuple(keys.at("MimeType"), keys.at("Exec"), keys.at("TryExec")),
              std::tuple(kMimeType + ";", "orv %f", "orv"));
    // (That every size of the icon is installed is the install test's.)
    EXPECT_TRUE(fs::is_regular_file(kDesktopDir / "icons" / (keys.at("Icon") + ".svg")));
    EXPECT_NE(ReadFileBytes(kMimeInfo).find("<icon name=\"" + keys.at("Icon") + "\"/>"), std::string::npos);
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
    const ToolResult result = RunTool({"env", "XDG_DATA_DIRS=" + data.Path().string(), "update-mime-database", mime.string()});
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, "");

    EXPECT_NE(ReadFileBytes(mime / "globs2").find(":" + kMimeType + ":*.orv\n"), std::string::npos);
    EXPECT_NE(ReadFileBytes(mime / "subclasses").find(kMimeType + " application/json\n"), std::string::npos);
    EXPECT_NE(ReadFileBytes(mime / "icons").find(kMimeType + ":orv\n"), std::string::npos);
    const std::string described = ReadFileBytes(mime / "application" / "x-orv-effect.xml");
    EXPECT_NE(described.find("<comment>orv particle effect</comment>"), std::string::npos) << described;
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

}  // namespace
}  // namespace orv::test
