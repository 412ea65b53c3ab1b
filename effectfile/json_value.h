#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct JsonMember;

// A parsed JSON value. Numbers keep their source text and are read like strings, so the effect
// reader cannot tell 2.5 from "2.5"; they become raw values only through ParseFixed.
struct JsonValue {
    enum class Kind { kNull, kBoolean, kNumber, kString, kArray, kObject };

    Kind kind = Kind::kNull;
    bool boolean = false;
    std::string text;                 // number source text, or the decoded string (UTF-8 bytes)
    std::vector<JsonValue> items;     // array elements in order
    std::vector<JsonMember> members;  // object members, sorted by key, keys unique

    bool IsObject() const { return kind == Kind::kObject; }
    bool IsArray() const { return kind == Kind::kArray; }

    // The member with exactly this key (byte comparison), or null.
    const JsonValue* Find(std::string_view key) const;
};

struct JsonMember {
    std::string key;
    JsonValue value;
};

}  // namespace orv
