#pragma once

#include <string>

#include "vesk/translatable.h"

namespace orv {

// A message box the editor shows after a file operation: its caption and its text.
struct EditorMessage {
    std::u16string caption;
    std::u16string text;
};

// Captions of the file commands' message boxes.
inline constexpr char16_t kReadErrorCaption[] = ORV_TR_NOOP16("orv", "読込みエラー");
inline constexpr char16_t kWriteErrorCaption[] = ORV_TR_NOOP16("orv", "書き込みエラー");

// A message whose text is 8-bit (UTF-8) text, as the file layer's exceptions carry it.
EditorMessage MakeEditorMessage(std::u16string_view caption, std::string_view text);

}  // namespace orv
