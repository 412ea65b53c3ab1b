#pragma once

#include <string>
#include <string_view>

#include "interop/pd_config.h"

namespace orv {

// Reads the root dictionary of an XML property list (a cocos2d .plist particle file). Numbers
// may be <real>, <integer> or numeric <string>; nested arrays and dictionaries are skipped.
// Throws std::runtime_error with a readable reason for malformed XML, a binary property list, a
// file without a root dictionary, or a key without a value.
PdConfig ReadPlist(std::string_view text);

// The keys as an XML property list, alphabetically as Particle Designer writes them: whole-number
// keys as <integer>, other numbers as <real>, texts as <string>, flags as <true/> / <false/>.
std::string WritePlist(const PdConfig& config);

}  // namespace orv
