#include "effectfile/relative_path.h"

#include <algorithm>
#include <vector>

#include "vesk/path_utils.h"

namespace orv {
namespace {

char16_t FoldCase(char16_t c) {
    if (vesk::kWindowsPaths && c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
    return c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

struct SplitFolder {
    std::u16string root;  // drive and leading separator(s), normalised
    std::vector<std::u16string_view> parts;
};

SplitFolder Split(std::u16string_view dir) {
    SplitFolder folder;
    std::size_t pos = 0;
    if (vesk::kWindowsPaths && dir.size() >= 2 && dir[1] == u':') {
        folder.root.assign(dir.substr(0, 2));
        pos = 2;
    }
    if (pos < dir.size() && vesk::IsPathSeparator(dir[pos])) {
        folder.root += u'/';
        // A UNC share ("\\server") is rooted differently from a plain absolute path.
        if (vesk::kWindowsPaths && pos + 1 < dir.size() && vesk::IsPathSeparator(dir[pos + 1]))
            folder.root += u'/';
    }
    while (pos < dir.size()) {
        while (pos < dir.size() && vesk::IsPathSeparator(dir[pos])) ++pos;
        const std::size_t start = pos;
        while (pos < dir.size() && !vesk::IsPathSeparator(dir[pos])) ++pos;
        const std::u16string_view part = dir.substr(start, pos - start);
        if (!part.empty() && part != u".") folder.parts.push_back(part);
    }
    return folder;
}

}  // namespace

std::optional<std::u16string> RelativeFolderPath(std::u16string_view fromDir, std::u16string_view toDir) {
    const SplitFolder from = Split(fromDir);
    const SplitFolder to = Split(toDir);
    if (!SameName(from.root, to.root)) return std::nullopt;

    std::size_t common = 0;
    while (common < from.parts.size() && common < to.parts.size() &&
           SameName(from.parts[common], to.parts[common])) {
        ++common;
    }
    // A ".." that is not shared cannot be climbed back lexically.
    for (std::size_t i = common; i < from.parts.size(); ++i) {
        if (from.parts[i] == u"..") return std::nullopt;
    }
    if (common == from.parts.size() && common == to.parts.size()) return u".";

    std::u16string relative;
    for (std::size_t i = common; i < from.parts.size(); ++i) relative += u"../";
    for (std::size_t i = common; i < to.parts.size(); ++i) {
        relative += to.parts[i];
        relative += u'/';
    }
    return relative;
}

std::u16string MakeRelativePath(std::u16string_view effectPath, std::u16string_view texturePath) {
    const auto folder =
        RelativeFolderPath(vesk::GetDirectoryPart(effectPath), vesk::GetDirectoryPart(texturePath));
    if (!folder) return std::u16string(texturePath);
    if (*folder == u".") return vesk::GetFileNamePart(texturePath);
    return *folder + vesk::GetFileNamePart(texturePath);
}

}  // namespace orv
