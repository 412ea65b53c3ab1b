#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/dialogs/help.h"
#include "tests/app_dialogs/dialog_test_support.h"

namespace orv {
namespace {

TEST(HelpDocument, NextToTheProgramBeforeTheShareFolderBeforeTheBuildTree) {
    QTemporaryDir prefix;
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    // In its build tree the program finds the written document.
    QFile written(FindHelpDocument(bin));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("lang=\"ja\"")) && text.contains(QStringLiteral("orv-render")));

    for (const char* path : {"share/orv/orv-help.html", "bin/orv-help.html"}) {
        const QString document = prefix.filePath(QString::fromLatin1(path));
        QDir().mkpath(QFileInfo(document).absolutePath());
        ASSERT_TRUE(QFile(document).open(QIODevice::WriteOnly));
        EXPECT_EQ(FindHelpDocument(bin), QDir::cleanPath(document)) << path;
    }
}

}  // namespace
}  // namespace orv
