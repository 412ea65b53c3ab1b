#include "export/frame_file_writer.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "image/png_writer.h"
#include "vesk/err_code_exception.h"
#include "vesk/path_utils.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

// The writer only says "cannot open" or "write failed"; the system's error number, when it set
// one, tells the user which (missing folder, no permission, disk full).
std::string WriteFailure(const std::u16string& fileName, const char* codecReason, int systemError) {
    // Appended piece by piece: GCC 12 at -O3 raises a false -Wrestrict on "literal" + temporary.
    std::string text = "cannot write frame \"";
    text += vesk::Utf8ForDisplay(fileName);
    text += "\": ";
    text += systemError != 0 ? std::strerror(systemError) : codecReason;
    return text;
}

}  // namespace

std::optional<std::string> WriteFrameFile(const std::u16string& fileName, const FrameBuffer& frame,
                                          PngCompression compression) {
    errno = 0;
    try {
        if (!SavePng(fileName, frame, compression)) return WriteFailure(fileName, "the frame is empty", 0);
    } catch (const vesk::CErrCodeException& error) {
        const int systemError = errno;
        if (error.code != kPngCannotOpen) RemoveFrameFile(fileName);
        return WriteFailure(fileName, error.Message(), systemError);
    }
    return std::nullopt;
}

void RemoveFrameFile(const std::u16string& fileName) {
    std::filesystem::path native;
    if (!vesk::ToNativePath(fileName, native)) return;
    std::error_code ignored;
    std::filesystem::remove(native, ignored);
}

}  // namespace orv
