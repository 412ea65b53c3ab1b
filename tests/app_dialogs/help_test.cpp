#include <QFileInfo>
#include <QRegularExpression>
#include <tuple>

#include "app/dialogs/help.h"
#include "tests/app_dialogs/dialog_test_support.h"

namespace orv {
namespace {

// Each interface language has its own document, found in the same places in the same order. Both
// have the same sections, so a link or a reference to one holds in the other.
TEST(HelpDocument, NextToTheProgramBeforeTheShareFolderBeforeTheBuildTreeWithTheSameSections) {
    QStringList sections[2];
    for (const auto& [language, fileName, htmlLanguage, heading] :
         {std::tuple{InterfaceLanguage::kJapanese, "orv-help.html", "lang=\"ja\"", "<h1>orv ヘルプ</h1>"},
          std::tuple{InterfaceLanguage::kEnglish, "orv-help.en.html", "lang=\"en\"", "<h1>orv Help</h1>"}}) {
        QTemporaryDir prefix;
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        // In its build tree the program finds the written document.
        QFile written(FindHelpDocument(bin, language));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << fileName;
        const QString text = QString::fromUtf8(written.readAll());
        EXPECT_TRUE(text.contains(QString::fromUtf8(htmlLanguage)) &&
                    text.contains(QString::fromUtf8(heading)) && text.contains(QStringLiteral("orv-render")))
            << fileName;
        static const QRegularExpression section(QStringLiteral("(id|href)=\"#?([a-z]+)\""));
        for (auto it = section.globalMatch(text); it.hasNext();)
            sections[language == InterfaceLanguage::kEnglish] << it.next().captured(0);

        for (const QString& folder : {QStringLiteral("share/orv/"), QStringLiteral("bin/")}) {
            const QString document = prefix.filePath(folder + QString::fromLatin1(fileName));
            QDir().mkpath(QFileInfo(document).absolutePath());
            ASSERT_TRUE(QFile(document).open(QIODevice::WriteOnly));
            EXPECT_EQ(FindHelpDocument(bin, language), QDir::cleanPath(document)) << document.toStdString();
        }
    }
    EXPECT_GE(sections[0].size(), 20);
    EXPECT_EQ(sections[0], sections[1]);
}

}  // namespace
}  // namespace orv
