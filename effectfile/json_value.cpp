#include "effectfile/json_value.h"

#include <algorithm>

namespace orv {

const JsonValue* JsonValue::Find(std::string_view key) const {
    if (kind != Kind::kObject) return nullptr;
    const auto it =
        std::lower_bound(members.begin(), members.end(), key,
                         [](const JsonMember& member, std::string_view k) { return member.key < k; });
    if (it == members.end() || it->key != key) return nullptr;
    return &it->value;
}

}  // namespace orv
