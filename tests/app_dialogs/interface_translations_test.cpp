#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QPushButton>

#include "app/interface_translations.h"
#include "tests/app_dialogs/dialog_test_support.h"
#include "tests/app_dialogs/shown_texts.h"

namespace orv {
namespace {

// Qt's own texts (standard buttons, file dialogs) speak the interface's language too.
TEST(InterfaceTranslations, QtsOwnTextsFollowTheInterfaceLanguage) {
    const QString qtJapanese = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm");
    if (!QFile::exists(qtJapanese)) GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    const auto cancelText = [] {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text();
    };
    {
        const InterfaceTranslations japanese(InterfaceLanguage::kJapanese);
        EXPECT_EQ(ActiveInterfaceLanguage(), InterfaceLanguage::kJapanese);
        EXPECT_TRUE(test::HasJapanese(cancelText())) << cancelText().toStdString();
    }
    const InterfaceTranslations english(InterfaceLanguage::kEnglish);
    EXPECT_EQ(ActiveInterfaceLanguage(), InterfaceLanguage::kEnglish);
    EXPECT_FALSE(test::HasJapanese(cancelText())) << cancelText().toStdString();
}

}  // namespace
}  // namespace orv
