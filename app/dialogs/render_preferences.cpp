#include "app/dialogs/render_preferences.h"

#include <QSettings>
#include <QString>
#include <iterator>
#include <string_view>

#include "app/qt_text.h"

namespace orv {
namespace {

const QString kThreads = QStringLiteral("RenderThreads");
const QString kCompression = QStringLiteral("PngCompression");
const QString kLoop = QStringLiteral("RenderLoop");
const QString kStart = QStringLiteral("RenderStart");
const QString kFormat = QStringLiteral("RenderFormat");

constexpr PngCompression kCompressions[] = {PngCompression::kDefault, PngCompression::kFast,
                                            PngCompression::kSmall};

}  // namespace

RenderPreferences LoadRenderPreferences() {
    RenderPreferences preferences;
    const QSettings store(QStringLiteral("brantsoft"), QStringLiteral("orv"));
    bool ok = false;
    const uint threads = store.value(kThreads).toUInt(&ok);
    if (ok && threads <= kMaxRenderThreads) preferences.threads = threads;
    const uint compression = store.value(kCompression).toUInt(&ok);
    if (ok && compression < std::size(kCompressions)) preferences.compression = kCompressions[compression];
    const uint loop = store.value(kLoop).toUInt(&ok);
    if (ok && loop <= 1) preferences.loop = loop == 1;
    preferences.start = ToU16(store.value(kStart).toString().left(kMaxStartLength));
    const QByteArray format = store.value(kFormat).toString().toLatin1();
    preferences.format = OutputFormatFromName(std::string_view(format.constData(), static_cast<std::size_t>(format.size())))
                             .value_or(OutputFormat::kPngSequence);
    return preferences;
}

void SaveRenderPreferences(const RenderPreferences& preferences) {
    QSettings store(QStringLiteral("brantsoft"), QStringLiteral("orv"));
    if (!store.isWritable()) return;
    store.setValue(kThreads, preferences.threads);
    for (uint i = 0; i < std::size(kCompressions); ++i) {
        if (kCompressions[i] == preferences.compression) store.setValue(kCompression, i);
    }
    store.setValue(kLoop, preferences.loop ? 1u : 0u);
    store.setValue(kStart, ToQString(preferences.start));
    store.setValue(kFormat, QString::fromLatin1(OutputFormatName(preferences.format)));
    store.sync();
}

}  // namespace orv
