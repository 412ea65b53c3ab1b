#include "app/dialogs/render_input.h"

#include <filesystem>
#include <system_error>

#include "vesk/path_utils.h"
#include "vesk/text_conversion.h"

namespace orv {

std::int32_t ParseRenderSeconds(std::u16string_view text) {
    // Nine characters hold at most nine digits, which always fit the 32-bit result.
    text = text.substr(0, 9);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    std::int32_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) value = value * 10 + (text[i] - u'0');
    return negative ? -value : value;
}

std::optional<std::u16string> RenderInputRefusal(std::int32_t seconds, std::u16string_view outputBasePath) {
    // A negative length would reach the job as an enormous unsigned frame count.
    if (seconds <= 0) return u"出力時間が短すぎます。";
    if (outputBasePath.empty()) return u"出力先が指定されていません。";
    return std::nullopt;
}

std::optional<std::u16string> PrepareOutputFolder(std::u16string_view outputBasePath) {
    const std::u16string folder = GetDirectoryPart(outputBasePath);
    if (folder.empty()) return std::nullopt;  // the current directory

    std::filesystem::path native;
    if (!ToNativePath(folder, native)) return u"出力先フォルダの名前が正しくありません。\n" + folder;

    std::error_code error;
    if (std::filesystem::is_directory(native, error)) return std::nullopt;
    if (std::filesystem::create_directories(native, error) || std::filesystem::is_directory(native)) {
        return std::nullopt;
    }
    std::u16string reason;
    if (error) MultiByteToWide(reason, error.message(), true);
    std::u16string text = u"出力先フォルダを作成できません。\n" + folder;
    if (!reason.empty()) text += u"\n(" + reason + u")";
    return text;
}

}  // namespace orv
