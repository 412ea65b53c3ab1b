#include "vesk/path_utils.h"

#include <system_error>
#include <vector>

#include "vesk/text_conversion.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vesk {

namespace {

std::u16string_view UpToNul(std::u16string_view s) {
    return s.substr(0, s.find(u'\0'));
}

std::size_t DriveLength(std::u16string_view path) {
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == u':') return 2;
#else
    (void)path;
#endif
    return 0;
}

struct SplitParts {
    std::u16string_view drive, dir, name, ext;
};

SplitParts Split(std::u16string_view path) {
    path = UpToNul(path);
    SplitParts parts;
    const std::size_t driveLen = DriveLength(path);
    parts.drive = path.substr(0, driveLen);
    std::u16string_view rest = path.substr(driveLen);
    std::size_t nameStart = 0;
    for (std::size_t i = rest.size(); i > 0; --i) {
        if (IsPathSeparator(rest[i - 1])) {
            nameStart = i;
            break;
        }
    }
    parts.dir = rest.substr(0, nameStart);
    std::u16string_view file = rest.substr(nameStart);
    const std::size_t dot = file.rfind(u'.');
    if (dot == std::u16string_view::npos || file == u"." || file == u"..") {
        parts.name = file;
    } else {
        parts.name = file.substr(0, dot);
        parts.ext = file.substr(dot);
    }
    return parts;
}

#ifndef _WIN32
// Lexical absolute form of an absolute path: "." and empty components dropped, ".." pops.
std::u16string NormalizeAbsolute(std::u16string_view path) {
    std::vector<std::u16string_view> components;
    std::size_t i = 0;
    while (i < path.size()) {
        std::size_t j = path.find(u'/', i);
        if (j == std::u16string_view::npos) j = path.size();
        std::u16string_view c = path.substr(i, j - i);
        if (c == u"..") {
            if (!components.empty()) components.pop_back();
        } else if (!c.empty() && c != u".") {
            components.push_back(c);
        }
        i = j + 1;
    }
    std::u16string result;
    for (std::u16string_view c : components) {
        result += u'/';
        result += c;
    }
    if (result.empty() || IsPathSeparator(path.back())) result += u'/';
    return result;
}
#endif

bool IsAbsolute(std::u16string_view path) {
#ifdef _WIN32
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) return true;  // UNC
    return path.size() >= 3 && path[1] == u':' && IsPathSeparator(path[2]);
#else
    return !path.empty() && path[0] == u'/';
#endif
}

}  // namespace

std::u16string GetDirectoryPart(std::u16string_view path) {
    SplitParts p = Split(path);
    std::u16string result(p.drive);
    result += p.dir;
    return result;
}

std::u16string GetFileNamePart(std::u16string_view path) {
    SplitParts p = Split(path);
    std::u16string result(p.name);
    result += p.ext;
    return result;
}

std::u16string GetFileTitlePart(std::u16string_view path) {
    return std::u16string(Split(path).name);
}

std::u16string GetExtensionPart(std::u16string_view path) {
    std::u16string ext(Split(path).ext);
    for (char16_t& c : ext) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return ext;
}

bool ToNativePath(std::u16string_view path, std::filesystem::path& out) {
    path = UpToNul(path);
#ifdef _WIN32
    out = std::filesystem::path(std::u16string(path));
    return true;
#else
    std::string narrow;
    if (!WideToUtf8(narrow, path)) return false;
    out = std::filesystem::path(narrow);
    return true;
#endif
}

std::u16string FromNativePath(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.u16string();
#else
    std::u16string wide;
    if (!MultiByteToWide(wide, path.native(), true)) return std::u16string();
    return wide;
#endif
}

#ifdef _WIN32

std::u16string GetCurrentDir() {
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return std::u16string();
    std::wstring buf(needed, L'\0');
    DWORD len = GetCurrentDirectoryW(needed, buf.data());
    if (len == 0 || len >= needed) return std::u16string();
    return std::u16string(buf.begin(), buf.begin() + len);
}

std::u16string GetFullPath(std::u16string_view path) {
    path = UpToNul(path);
    if (path.empty()) return std::u16string();
    std::wstring in(path.begin(), path.end());
    DWORD needed = GetFullPathNameW(in.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::u16string();
    std::wstring buf(needed, L'\0');
    DWORD len = GetFullPathNameW(in.c_str(), needed, buf.data(), nullptr);
    if (len == 0 || len >= needed) return std::u16string();
    return std::u16string(buf.begin(), buf.begin() + len);
}

#else

std::u16string GetCurrentDir() {
    std::error_code ec;
    std::filesystem::path cwd = std::filesystem::current_path(ec);
    if (ec) return std::u16string();
    return FromNativePath(cwd);
}

std::u16string GetFullPath(std::u16string_view path) {
    path = UpToNul(path);
    if (path.empty()) return std::u16string();
    if (IsAbsolute(path)) return NormalizeAbsolute(path);
    std::u16string cwd = GetCurrentDir();
    if (cwd.empty()) return std::u16string();
    cwd += u'/';
    cwd += path;
    return NormalizeAbsolute(cwd);
}

#endif

std::u16string ResolvePath(std::u16string_view relative, std::u16string_view baseFile) {
    relative = UpToNul(relative);
    const std::u16string dir = GetDirectoryPart(baseFile);
    std::filesystem::path native;
    if (dir.empty() || !ToNativePath(dir, native)) return std::u16string(relative);
    std::error_code ec;
    if (!std::filesystem::is_directory(native, ec)) return std::u16string(relative);
#ifndef _WIN32
    if (::access(native.c_str(), X_OK) != 0) return std::u16string(relative);  // cannot be entered
#endif
    if (relative.empty()) return std::u16string();  // the full path of nothing
    if (IsAbsolute(relative)) return GetFullPath(relative);
#ifdef _WIN32
    if (DriveLength(relative) != 0) {
        // Drive-relative ("C:foo"): the OS decides against that drive's current directory.
        return GetFullPath(relative);
    }
#endif
    std::u16string absDir = GetFullPath(dir);
    if (absDir.empty()) return std::u16string(relative);
    if (!IsPathSeparator(absDir.back())) absDir += u'/';
    if (!relative.empty() && IsPathSeparator(relative.front())) relative.remove_prefix(1);  // "\x" on Windows
    absDir += relative;
    return GetFullPath(absDir);
}

}  // namespace vesk
