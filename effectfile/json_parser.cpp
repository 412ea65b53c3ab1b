#include "effectfile/json_parser.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "vesk/text_conversion.h"

namespace orv {
namespace {

// The error message quotes the failing line, but a file written on one line could make it
// megabytes long; a message box needs only the start.
constexpr std::size_t kMaxQuotedBytes = 200;

bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue ParseDocument() {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
        SkipWhitespace();
        return ParseValue(0);
    }

private:
    [[noreturn]] void Fail() const {
        char head[64];
        std::snprintf(head, sizeof head, "syntax error at line %d near: ", line_);
        std::string message = head;
        // Only whole UTF-8 characters are quoted, so the message always converts for display.
        std::size_t i = std::min(pos_, text_.size());
        std::size_t quoted = 0;
        while (i < text_.size() && text_[i] != '\n' && quoted < kMaxQuotedBytes) {
            char32_t code = 0;
            const std::size_t length = vesk::DecodeUtf8(text_.substr(i), code);
            if (length == 0) {
                message += '?';
                ++i;
            } else {
                if (static_cast<unsigned char>(text_[i]) >= 0x20) message.append(text_.substr(i, length));
                i += length;
            }
            ++quoted;
        }
        throw JsonSyntaxError(message, line_, pos_);
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return text_[pos_]; }

    void SkipWhitespace() {
        while (!AtEnd()) {
            const char c = Peek();
            if (c == '\n') {
                ++line_;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return;
            }
            ++pos_;
        }
    }

    void Expect(char c) {
        if (AtEnd() || Peek() != c) Fail();
        ++pos_;
    }

    JsonValue ParseValue(int depth) {
        if (AtEnd()) Fail();
        const char c = Peek();
        if (c == '{') return ParseObject(depth + 1);
        if (c == '[') return ParseArray(depth + 1);
        if (c == '"') {
            JsonValue value;
            value.kind = JsonValue::Kind::kString;
            value.text = ParseString();
            return value;
        }
        if (IsNumberChar(c)) return ParseNumber();
        return ParseLiteral();
    }

    JsonValue ParseLiteral() {
        static constexpr std::pair<std::string_view, int> kLiterals[] = {
            {"true", 1}, {"false", 0}, {"null", -1}};
        for (const auto& [word, meaning] : kLiterals) {
            if (text_.substr(pos_, word.size()) == word) {
                pos_ += word.size();
                JsonValue value;
                if (meaning >= 0) {
                    value.kind = JsonValue::Kind::kBoolean;
                    value.boolean = meaning == 1;
                }
                return value;
            }
        }
        Fail();
    }

    JsonValue ParseNumber() {
        const std::size_t start = pos_;
        while (!AtEnd() && IsNumberChar(Peek())) ++pos_;
        JsonValue value;
        value.kind = JsonValue::Kind::kNumber;
        value.text = std::string(text_.substr(start, pos_ - start));
        return value;
    }

    std::uint32_t ParseHex4() {
        if (text_.size() - pos_ < 4) {
            pos_ = text_.size();
            Fail();
        }
        std::uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = HexDigit(Peek());
            if (digit < 0) Fail();
            code = code * 16 + static_cast<std::uint32_t>(digit);
            ++pos_;
        }
        return code;
    }

    // After "\u": one code point, pairing surrogates. A surrogate without its partner becomes
    // U+FFFD, since it has no UTF-8 form.
    std::uint32_t ParseUnicodeEscape() {
        const std::uint32_t code = ParseHex4();
        if (code >= 0xDC00 && code <= 0xDFFF) return 0xFFFD;
        if (code < 0xD800 || code > 0xDBFF) return code;
        if (text_.substr(pos_, 2) != "\\u") return 0xFFFD;
        const std::size_t afterHigh = pos_;
        pos_ += 2;
        const std::uint32_t low = ParseHex4();
        if (low >= 0xDC00 && low <= 0xDFFF) return 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        pos_ = afterHigh;  // the second escape stands for itself
        return 0xFFFD;
    }

    std::string ParseString() {
        Expect('"');
        std::string out;
        while (true) {
            if (AtEnd()) Fail();
            const char c = Peek();
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (c != '\\') {
                if (c == '\n') ++line_;
                out += c;
                ++pos_;
                continue;
            }
            ++pos_;
            if (AtEnd()) Fail();
            const char escape = Peek();
            ++pos_;
            switch (escape) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u':
                    vesk::AppendUtf8(out, ParseUnicodeEscape());
                    break;
                default:
                    --pos_;
                    Fail();
            }
        }
    }

    void EnterContainer(int depth) const {
        if (depth > kMaxJsonDepth) Fail();
    }

    JsonValue ParseArray(int depth) {
        EnterContainer(depth);
        Expect('[');
        JsonValue array;
        array.kind = JsonValue::Kind::kArray;
        SkipWhitespace();
        if (!AtEnd() && Peek() == ']') {
            ++pos_;
            return array;
        }
        while (true) {
            SkipWhitespace();
            array.items.push_back(ParseValue(depth));
            SkipWhitespace();
            if (AtEnd()) Fail();
            if (Peek() == ']') {
                ++pos_;
                return array;
            }
            Expect(',');
        }
    }

    JsonValue ParseObject(int depth) {
        EnterContainer(depth);
        Expect('{');
        JsonValue object;
        object.kind = JsonValue::Kind::kObject;
        SkipWhitespace();
        if (!AtEnd() && Peek() == '}') {
            ++pos_;
            return object;
        }
        while (true) {
            SkipWhitespace();
            if (AtEnd() || Peek() != '"') Fail();
            std::string key = ParseString();
            SkipWhitespace();
            Expect(':');
            SkipWhitespace();
            JsonValue value = ParseValue(depth);
            object.members.push_back({std::move(key), std::move(value)});
            SkipWhitespace();
            if (AtEnd()) Fail();
            if (Peek() == '}') {
                ++pos_;
                break;
            }
            Expect(',');
        }
        KeepLastOfEachKey(object.members);
        return object;
    }

    // Keys are unique; of repeated keys the last one wins, as when a reader assigns members in
    // file order. Sorting keeps look-ups fast even for huge objects.
    static void KeepLastOfEachKey(std::vector<JsonMember>& members) {
        std::stable_sort(members.begin(), members.end(),
                         [](const JsonMember& a, const JsonMember& b) { return a.key < b.key; });
        std::vector<JsonMember> unique;
        unique.reserve(members.size());
        for (auto& member : members) {
            if (!unique.empty() && unique.back().key == member.key) {
                unique.back().value = std::move(member.value);
            } else {
                unique.push_back(std::move(member));
            }
        }
        members = std::move(unique);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

JsonValue ParseJson(std::string_view text) {
    return Parser(text).ParseDocument();
}

}  // namespace orv
