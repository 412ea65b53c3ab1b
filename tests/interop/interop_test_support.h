#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "interop/conversion_report.h"
#include "interop/particle_files.h"
#include "tests/effectfile/test_support.h"

namespace orv::test {

using Entries = std::vector<std::pair<std::string, std::string>>;

inline std::string Integer(int value) {
    return "<integer>" + std::to_string(value) + "</integer>";
}
inline std::string Text(const std::string& value) {
    return "<string>" + value + "</string>";
}

// .plist entries from "key value key value ...": a value in quotes is a <string>, one ending in
// 'i' an <integer>, any other a <real> as written.
inline Entries Plist(const std::string& text) {
    std::istringstream in(text);
    Entries entries;
    for (std::string key, value; in >> key >> value;) {
        entries.emplace_back(key, value.front() == '"'  ? Text(value.substr(1, value.size() - 2))
                                  : value.back() == 'i' ? Integer(std::stoi(value))
                                                        : "<real>" + value + "</real>");
    }
    return entries;
}

// A .plist text of the given <key>/<value> pairs; `value` is the whole value element.
inline std::string PlistText(const Entries& entries, bool declaration = true, bool crlf = false) {
    const std::string eol = crlf ? "\r\n" : "\n";
    std::string text;
    if (declaration) text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + eol;
    text += "<plist version=\"1.0\">" + eol + "<dict>" + eol;
    for (const auto& [key, value] : entries) text += "  <key>" + key + "</key>" + eol + "  " + value + eol;
    return text + "</dict>" + eol + "</plist>" + eol;
}

// Writes `text` to `name` in the folder and imports it with a 800 x 600 frame.
inline ImportedEmitters ImportText(const TempFolder& folder, const std::string& name,
                                   const std::string& text) {
    WriteFileBytes(folder.Path() / name, text);
    return ImportParticleFile(folder.Path() / name, nullptr, FrameSize{800, 600});
}

// Whether some report entry contains `fragment`.
inline bool Reports(const ConversionReport& report, const std::string& fragment) {
    return std::ranges::any_of(
        report.Entries(), [&](const auto& entry) { return entry.text.find(fragment) != std::string::npos; });
}

// Expects the emitter's raw values named in "key value key value ..." by their effect file keys.
inline void ExpectRawValues(const Emitter& emitter, const std::string& expected) {
    std::istringstream in(expected);
    std::string key;
    std::int32_t raw = 0;
    while (in >> key >> raw) {
        std::size_t row = 0;
        while (row < kParamCount && key != Param(row).key) ++row;
        ASSERT_LT(row, kParamCount) << "no row " << key;
        EXPECT_EQ(emitter.params.raw[row], raw) << key;
    }
    EXPECT_TRUE(in.eof()) << "unread expectations in \"" << expected << '"';
}

}  // namespace orv::test
