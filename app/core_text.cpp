#include "app/core_text.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include "app/qt_text.h"
#include "engine/param_table.h"

namespace orv {

namespace {

constexpr char kContext[] = "orv";

// The printf conversions of a format, in order ("%2d", "%1d").
QStringList Conversions(const QString& format) {
    static const QRegularExpression conversion(QStringLiteral("%[-+ #0-9.]*[a-z]"));
    QStringList found;
    for (auto it = conversion.globalMatch(format); it.hasNext();) found << it.next().captured();
    return found;
}

}  // namespace

QString CoreText(const char* utf8) {
    return QCoreApplication::translate(kContext, utf8);
}

QString CoreText(std::u16string_view text) {
    const QString source = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    const qsizetype lineEnd = source.indexOf(QLatin1Char('\n'));
    if (lineEnd < 0) return CoreText(source.toUtf8().constData());
    return CoreText(source.left(lineEnd).toUtf8().constData()) + source.mid(lineEnd);
}

QString ParamNameText(std::size_t row) {
    return CoreText(Param(row).name);
}

QString ParamLabelText(std::size_t row, std::int32_t raw) {
    const char* source = Param(row).format;
    const QByteArray format = CoreText(source).toUtf8();
    // A translation that changed the conversions would make printf read arguments that are not
    // there; the row's own format is used instead.
    const bool usable = Conversions(QString::fromUtf8(format)) == Conversions(QString::fromUtf8(source));
    return QString::fromStdString(FormatParamLabel(row, raw, usable ? format.constData() : source));
}

}  // namespace orv
