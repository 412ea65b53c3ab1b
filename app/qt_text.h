#pragma once

#include <QString>
#include <string>

namespace orv {

// QString holds UTF-16 like the program's wide text, so both convert without loss.
inline QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

}  // namespace orv
