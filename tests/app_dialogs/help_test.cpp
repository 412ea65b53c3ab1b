#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/dialogs/help.h"
#include "tests/app_dialogs/dialog_test_support.h"

namespace orv {
namespace {

void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(HelpDocument, NextToTheProgramComesBeforeTheShareFolder) {
    QTemporaryDir prefix;
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    const QString shared = prefix.filePath(QStringLiteral("share/orv/orv-help.html"));
    Touch(shared);
    EXPECT_EQ(FindHelpDocument(bin), QDir::cleanPath(shared));

    const QString beside = prefix.filePath(QStringLiteral("bin/orv-help.html"));
    Touch(beside);
    EXPECT_EQ(FindHelpDocument(bin), QDir::cleanPath(beside));
}

TEST(HelpDocument, AProgramInItsBuildTreeFindsTheWrittenDocument) {
    QTemporaryDir empty;
    const QString found = FindHelpDocument(empty.path());
    ASSERT_FALSE(found.isEmpty());
    QFile document(found);
    ASSERT_TRUE(document.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(document.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("lang=\"ja\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("orv-render")));
}

}  // namespace
}  // namespace orv
