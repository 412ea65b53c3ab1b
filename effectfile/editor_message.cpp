#include "effectfile/editor_message.h"

#include "vesk/text_conversion.h"

namespace orv {

EditorMessage MakeEditorMessage(std::u16string_view caption, std::string_view text) {
    EditorMessage message{std::u16string(caption), {}};
    if (!vesk::MultiByteToWide(message.text, text, false)) {
        // Keeps what can be shown of a text that is not valid UTF-8.
        for (const char c : text) message.text += static_cast<unsigned char>(c) < 0x80 ? char16_t(c) : u'?';
    }
    return message;
}

}  // namespace orv
