#include "app/dialogs/render_preferences.h"

#include <QSettings>
#include <QString>
#include <iterator>
#include <string_view>

namespace orv {
namespace {

const QString kThreads = QStringLiteral("RenderThreads");
const QString kCompression = QStringLiteral("PngCompression");
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
    store.setValue(kFormat, QString::fromLatin1(OutputFormatName(preferences.format)));
    store.sync();
}

}  // namespace orv
