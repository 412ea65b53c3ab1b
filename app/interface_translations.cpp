#include "app/interface_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace orv {

namespace {

InterfaceLanguage g_activeLanguage = InterfaceLanguage::kJapanese;

void InstallIfLoaded(QTranslator& translator, bool loaded) {
    if (loaded) QCoreApplication::installTranslator(&translator);
}

}  // namespace

InterfaceTranslations::InterfaceTranslations(InterfaceLanguage language) : previous_(g_activeLanguage) {
    if (language == InterfaceLanguage::kEnglish) {
        // Qt's own texts are English already.
        InstallIfLoaded(editor_, editor_.load(QStringLiteral(":/i18n/orv_en.qm")));
    } else {
        InstallIfLoaded(qt_,
                        qt_.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    }
    g_activeLanguage = language;
}

InterfaceTranslations::~InterfaceTranslations() {
    QCoreApplication::removeTranslator(&editor_);
    QCoreApplication::removeTranslator(&qt_);
    g_activeLanguage = previous_;
}

InterfaceLanguage ActiveInterfaceLanguage() {
    return g_activeLanguage;
}

}  // namespace orv
