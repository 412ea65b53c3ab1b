#include "app/settings_store.h"

#include <QSettings>
#include <QString>

#include "editor/settings_rules.h"
#include "engine/settings.h"

namespace orv {

namespace {

// The store's names of the values, in the order they are read and written.
constexpr const char* kScreenWidth = "ScreenWidth";
constexpr const char* kScreenHeight = "ScreenHeight";
constexpr const char* kFsp = "FSP";
constexpr const char* kDrawType = "DrawType";
constexpr const char* kInterpolateType = "InterpolateType";
constexpr const char* kSse2Enable = "SSE2Enable";
// Kept only when it is not the default, so a store that never changed it stays as it was.
constexpr const char* kDrawingThreads = "DrawingThreads";
constexpr const char* kLanguage = "Language";

std::optional<std::uint32_t> ReadValue(const QSettings& store, const char* name) {
    const QVariant value = store.value(QString::fromLatin1(name));
    if (!value.isValid()) return std::nullopt;
    bool ok = false;
    const uint number = value.toUInt(&ok);
    if (!ok) return std::nullopt;
    return static_cast<std::uint32_t>(number);
}

}  // namespace

void LoadSettings() {
    StoredSettingValues stored;
    const QSettings store(QStringLiteral("brantsoft"), QStringLiteral("orv"));
    if (store.status() == QSettings::NoError) {
        stored.screenWidth = ReadValue(store, kScreenWidth);
        stored.screenHeight = ReadValue(store, kScreenHeight);
        stored.fsp = ReadValue(store, kFsp);
        stored.drawType = ReadValue(store, kDrawType);
        stored.interpolateType = ReadValue(store, kInterpolateType);
        stored.sse2Enable = ReadValue(store, kSse2Enable);
        stored.drawingThreads = ReadValue(store, kDrawingThreads);
    }
    CurrentSettings() = SettingsFromStored(stored, ProcessorHasSse2());
    SetActiveSse2(CurrentSettings().sse2Enable);
}

void SaveSettings() {
    const Settings& settings = CurrentSettings();
    QSettings store(QStringLiteral("brantsoft"), QStringLiteral("orv"));
    if (!store.isWritable()) return;
    store.setValue(QString::fromLatin1(kScreenWidth), settings.screenWidth);
    store.setValue(QString::fromLatin1(kScreenHeight), settings.screenHeight);
    store.setValue(QString::fromLatin1(kFsp), settings.fsp);
    store.setValue(QString::fromLatin1(kDrawType), settings.drawType);
    store.setValue(QString::fromLatin1(kInterpolateType), settings.interpolateType);
    store.setValue(QString::fromLatin1(kSse2Enable), settings.sse2Enable ? 1u : 0u);
    if (settings.drawingThreads != 0) {
        store.setValue(QString::fromLatin1(kDrawingThreads), settings.drawingThreads);
    } else {
        store.remove(QString::fromLatin1(kDrawingThreads));
    }
    store.sync();
}

LanguageChoice LoadLanguageChoice() {
    const QSettings store(QStringLiteral("brantsoft"), QStringLiteral("orv"));
    return LanguageChoiceFromStored(store.value(QString::fromLatin1(kLanguage)).toString().toStdString());
}

void SaveLanguageChoice(LanguageChoice choice) {
    QSettings store(QStringLiteral("brantsoft"), QStringLiteral("orv"));
    if (!store.isWritable()) return;
    store.setValue(QString::fromLatin1(kLanguage), QString::fromLatin1(StoredLanguageName(choice)));
    store.sync();
}

}  // namespace orv
