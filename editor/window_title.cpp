#include "editor/window_title.h"

#include "vesk/path_utils.h"

namespace orv {

std::u16string WindowTitle(std::u16string_view currentFile, std::optional<std::uint32_t> maxFrameRate,
                           bool modified) {
    std::u16string title = u"orv";
    if (maxFrameRate && !currentFile.empty()) title += u" - " + vesk::GetFileNamePart(currentFile);
    if (modified) title += u'*';
    if (!maxFrameRate) return title;
    const std::string rate = std::to_string(*maxFrameRate);
    return title + u" - MAX FPS " + std::u16string(rate.begin(), rate.end()) + u"\n";
}

}  // namespace orv
