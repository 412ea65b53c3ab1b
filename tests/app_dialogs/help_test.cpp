#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/dialogs/help.h"
#include "tests/app_dialogs/dialog_test_support.h"

namespace orv {
namespace {

// Each interface language has its own document, found in the same places in the same order.
TEST(HelpDocument, NextToTheProgramBeforeTheShareFolderBeforeTheBuildTreeInEachLanguage) {
    struct Case {
        InterfaceLanguage language;
        const char* fileName;
        const char* htmlLanguage;
        const char* heading;
    };
    for (const Case& c :
         {Case{InterfaceLanguage::kJapanese, "orv-help.html", "lang=\"ja\"", "<h1>orv ヘルプ</h1>"},
          Case{InterfaceLanguage::kEnglish, "orv-help.en.html", "lang=\"en\"", "<h1>orv Help</h1>"}}) {
        QTemporaryDir prefix;
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        // In its build tree the program finds the written document.
        QFile written(FindHelpDocument(bin, c.language));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << c.fileName;
        const QString text = QString::fromUtf8(written.readAll());
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.htmlLanguage)) &&
                    text.contains(QString::fromUtf8(c.heading)) &&
                    text.contains(QStringLiteral("orv-render")))
            << c.fileName;

        for (const QString& folder : {QStringLiteral("share/orv/"), QStringLiteral("bin/")}) {
            const QString document = prefix.filePath(folder + QString::fromLatin1(c.fileName));
            QDir().mkpath(QFileInfo(document).absolutePath());
            ASSERT_TRUE(QFile(document).open(QIODevice::WriteOnly));
            EXPECT_EQ(FindHelpDocument(bin, c.language), QDir::cleanPath(document)) << document.toStdString();
        }
    }
}

// Both documents have the same sections, so a link or a reference to one holds in the other.
TEST(HelpDocument, BothLanguagesHaveTheSameSections) {
    QStringList ids[2];
    int index = 0;
    for (const InterfaceLanguage language : {InterfaceLanguage::kJapanese, InterfaceLanguage::kEnglish}) {
        QFile file(FindHelpDocument(QString(), language));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        static const QRegularExpression id(QStringLiteral("(id|href)=\"#?([a-z]+)\""));
        for (auto it = id.globalMatch(text); it.hasNext();) ids[index] << it.next().captured(0);
        ++index;
    }
    EXPECT_GE(ids[0].size(), 20);
    EXPECT_EQ(ids[0], ids[1]);
}

}  // namespace
}  // namespace orv
