#include "editor/render_input.h"

#include <limits>

#include "export/output_folder.h"
#include "export/render_values.h"
#include "vesk/decimal_digits.h"
#include "vesk/text_conversion.h"
#include "vesk/translatable.h"

namespace orv {

std::int32_t ParseRenderSeconds(std::u16string_view text) {
    // Nine characters hold at most nine digits, which always fit the 32-bit result.
    text = text.substr(0, 9);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    std::uint64_t value = 0;
    vesk::ReadDigits(text, i, value, std::numeric_limits<std::int32_t>::max());
    const auto magnitude = static_cast<std::int32_t>(value);
    return negative ? -magnitude : magnitude;
}

std::optional<std::u16string> RenderInputRefusal(std::int32_t seconds, std::u16string_view outputBasePath) {
    // A negative length would reach the job as an enormous unsigned frame count.
    if (seconds <= 0) return ORV_TR_NOOP16("orv", "出力時間が短すぎます。");
    if (outputBasePath.empty()) return ORV_TR_NOOP16("orv", "出力先が指定されていません。");
    return std::nullopt;
}

namespace {

// Only ASCII digits and a point can be valid, so a text narrowed this way is refused exactly when
// the original is.
std::string Narrow(std::u16string_view text) {
    std::string narrow;
    for (const char16_t c : text) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return narrow;
}

}  // namespace

std::optional<std::uint64_t> ParseSeedText(std::u16string_view text) {
    return ParseDecimal<std::uint64_t>(Narrow(text));
}

std::optional<double> ParseStartText(std::u16string_view text) {
    return ParseStartSeconds(Narrow(text));
}

std::optional<std::u16string> PrepareOutputFolder(std::u16string_view outputBasePath) {
    const OutputFolderResult result = CreateOutputFolder(outputBasePath);
    const std::u16string& folder = result.folder;
    if (result.outcome == OutputFolderResult::Outcome::kReady) return std::nullopt;
    if (result.outcome == OutputFolderResult::Outcome::kInvalidName) {
        return std::u16string(ORV_TR_NOOP16("orv", "出力先フォルダの名前が正しくありません。")) + u"\n" +
               folder;
    }
    std::u16string reason;
    vesk::MultiByteToWide(reason, result.reason, true);
    std::u16string text =
        std::u16string(ORV_TR_NOOP16("orv", "出力先フォルダを作成できません。")) + u"\n" + folder;
    if (!reason.empty()) text += u"\n(" + reason + u")";
    return text;
}

}  // namespace orv
