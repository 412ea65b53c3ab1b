#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vesk {

// Path-string utilities on UTF-16 text. They work on strings of any length (no
// 255/260-character limits). A path splits into drive, directory (with its trailing separator),
// name and extension (from the last dot of the final component, dot included; a final component
// of "." or ".." is a name with no extension). On Linux '/' is the only separator and there is no
// drive; on Windows '\\' and '/' are separators and "X:" is a drive. Input stops at its first NUL.

#ifdef _WIN32
inline constexpr bool kWindowsPaths = true;
#else
inline constexpr bool kWindowsPaths = false;
#endif

// '/' everywhere, and '\\' too on Windows.
constexpr bool IsPathSeparator(char16_t c) {
    return c == u'/' || (kWindowsPaths && c == u'\\');
}

// Drive and directory with the trailing separator ("/a/b/" for "/a/b/x.png"); empty if neither.
std::u16string GetDirectoryPart(std::u16string_view path);
// Name and extension ("x.png").
std::u16string GetFileNamePart(std::u16string_view path);
// Name without extension ("x").
std::u16string GetFileTitlePart(std::u16string_view path);
// Extension with its dot, ASCII letters lower-cased (".png" for "A.PNG").
std::u16string GetExtensionPart(std::u16string_view path);

// The process's current directory (no trailing separator except for the root); empty on failure.
std::u16string GetCurrentDir();
// The absolute form of `path` against the current directory, with "." and ".." components and
// repeated separators removed lexically; a trailing separator is kept. Empty input or a failure
// gives an empty result.
std::u16string GetFullPath(std::u16string_view path);
// When the directory part of `baseFile` exists and can be entered, the absolute form of
// `relative` taken from that directory; otherwise `relative` unchanged. The process's current
// directory is never changed (the join is lexical).
std::u16string ResolvePath(std::u16string_view relative, std::u16string_view baseFile);

// Conversion between UTF-16 paths and std::filesystem::path (for opening files). ToNativePath
// returns false when the text is not valid UTF-16; FromNativePath gives an empty string when the
// native path is not valid UTF-8.
bool ToNativePath(std::u16string_view path, std::filesystem::path& out);
std::u16string FromNativePath(const std::filesystem::path& path);

}  // namespace vesk
