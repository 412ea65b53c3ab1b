#include "tests/interop/interop_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "interop/conversion_report.h"

namespace orv::test {

std::string PlistText(const std::vector<std::pair<std::string, std::string>>& entries, PlistOptions options) {
    const std::string eol = options.crlf ? "\r\n" : "\n";
    std::string text;
    if (options.declaration) text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + eol;
    text += "<plist version=\"1.0\">" + eol + "<dict>" + eol;
    for (const auto& [key, value] : entries) text += "  <key>" + key + "</key>" + eol + "  " + value + eol;
    text += "</dict>" + eol + "</plist>" + eol;
    return text;
}

std::string Real(double value) { return "<real>" + FormatNumber(value) + "</real>"; }
std::string Integer(int value) { return "<integer>" + std::to_string(value) + "</integer>"; }
std::string Text(const std::string& value) { return "<string>" + value + "</string>"; }

ImportedEmitters ImportText(const TempFolder& folder, const std::string& name, const std::string& text) {
    WriteFileBytes(folder.Path() / name, text);
    return ImportParticleFile(folder.Path() / name, nullptr, FrameSize{800, 600});
}

bool Reports(const ConversionReport& report, const std::string& fragment) {
    return std::ranges::any_of(report.Entries(),
                               [&](const auto& entry) { return entry.text.find(fragment) != std::string::npos; });
}

void ExpectRawValues(const Emitter& emitter, const RawValues& expected) {
    for (const auto& [row, raw] : expected) EXPECT_EQ(emitter.params.raw[row], raw) << Param(row).key;
}

}  // namespace orv::test
