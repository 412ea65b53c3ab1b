// The editor's entry: settings, the interface language, the main window, an optional effect file to open.

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QLocale>
#include <QStringList>
#include <string>

#include "app/interface_translations.h"
#include "app/main_frame.h"
#include "app/param_dlg_view.h"
#include "app/qt_text.h"
#include "app/settings_store.h"
#include "render/blend_tables.h"

namespace {

// A Japanese interface: prefer a CJK face so kana and kanji share one design and metrics.
void UseJapaneseFont(QApplication& app) {
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"Noto Sans CJK JP", "Noto Sans JP", "IPAGothic", "VL Gothic"}) {
        if (families.contains(QString::fromLatin1(family))) {
            QFont font(QString::fromLatin1(family));
            font.setPointSizeF(app.font().pointSizeF() > 0 ? app.font().pointSizeF() : 9.0);
            app.setFont(font);
            return;
        }
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    orv::GetBlendTables();  // built before anything draws, read-only afterwards
    orv::LoadSettings();
    const orv::InterfaceLanguage language =
        orv::ResolveInterfaceLanguage(orv::LoadLanguageChoice(), QLocale::system().name().toStdString());
    if (language == orv::InterfaceLanguage::kJapanese) UseJapaneseFont(app);
    const orv::InterfaceTranslations translations(language);

    orv::CMainFrame frame;
    frame.show();
    frame.raise();
    frame.activateWindow();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        // Absolute, so that save-as proposes the file's own folder and the title shows its name.
        frame.Controller().OpenEffectPath(orv::ToU16(QFileInfo(arguments.at(1)).absoluteFilePath()));
    }
    return QApplication::exec();
}
