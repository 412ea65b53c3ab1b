#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "interop/particle_files.h"
#include "tests/effectfile/test_support.h"

namespace orv::test {

// A .plist text of the given <key>/<value> pairs; `value` is the whole value element.
struct PlistOptions {
    bool declaration = true;
    bool crlf = false;
};
std::string PlistText(const std::vector<std::pair<std::string, std::string>>& entries, PlistOptions options = {});

std::string Real(double value);
std::string Integer(int value);
std::string Text(const std::string& value);

// Writes `text` to `name` in the folder and imports it with a 800 x 600 frame.
ImportedEmitters ImportText(const TempFolder& folder, const std::string& name, const std::string& text);

// Whether some report entry contains `fragment`.
bool Reports(const ConversionReport& report, const std::string& fragment);

// Parameter rows with the raw values they must hold.
using RawValues = std::vector<std::pair<std::size_t, std::int32_t>>;
void ExpectRawValues(const Emitter& emitter, const RawValues& expected);

}  // namespace orv::test
