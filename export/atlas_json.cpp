#include "export/atlas_json.h"

#include "effectfile/json_escape.h"

#ifndef ORV_VERSION
#define ORV_VERSION "unknown"
#endif

namespace orv {
namespace {

// Appended piece by piece: GCC 12 at -O3 raises a false -Wrestrict on "literal" + temporary.
void AppendNumber(std::string& text, const char* key, std::uint32_t value) {
    text.append(key).append(std::to_string(value));
}

void AppendSize(std::string& text, std::uint32_t width, std::uint32_t height) {
    AppendNumber(text, "{\"w\": ", width);
    AppendNumber(text, ", \"h\": ", height);
    text += "}";
}

void AppendRect(std::string& text, const PixelRect& rect) {
    AppendNumber(text, "{\"x\": ", rect.x);
    AppendNumber(text, ", \"y\": ", rect.y);
    AppendNumber(text, ", \"w\": ", rect.width);
    AppendNumber(text, ", \"h\": ", rect.height);
    text += "}";
}

}  // namespace

std::string AtlasJson(const std::vector<AtlasFrame>& frames, const AtlasPage& page) {
    std::string text = "{\n  \"frames\": {";
    const char* separator = "\n";
    for (const AtlasFrame& frame : frames) {
        const bool trimmed = frame.inSource != PixelRect{0, 0, page.sourceWidth, page.sourceHeight};
        text += separator;
        text.append("    \"").append(EscapeJsonString(frame.name)).append("\": {\n      \"frame\": ");
        AppendRect(text, frame.onPage);
        text += ",\n      \"rotated\": false,\n      \"trimmed\": ";
        text += trimmed ? "true" : "false";
        text += ",\n      \"spriteSourceSize\": ";
        AppendRect(text, frame.inSource);
        text += ",\n      \"sourceSize\": ";
        AppendSize(text, page.sourceWidth, page.sourceHeight);
        text += "\n    }";
        separator = ",\n";
    }
    text += "\n  },\n  \"meta\": {\n    \"app\": \"orv\",\n    \"version\": \"" ORV_VERSION "\",\n    \"image\": \"";
    text += EscapeJsonString(page.image);
    text += "\",\n    \"format\": \"RGBA8888\",\n    \"size\": ";
    AppendSize(text, page.width, page.height);
    AppendNumber(text, ",\n    \"scale\": \"1\",\n    \"frameRate\": ", page.framesPerSecond);
    text += "\n  }\n}\n";
    return text;
}

}  // namespace orv
