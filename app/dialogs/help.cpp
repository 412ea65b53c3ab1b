#include "app/dialogs/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "app/interface_translations.h"

namespace orv {

QString HelpFileName(InterfaceLanguage language) {
    return language == InterfaceLanguage::kEnglish ? QStringLiteral("orv-help.en.html")
                                                   : QStringLiteral("orv-help.html");
}

QStringList HelpDocumentCandidates(const QString& executableDir, InterfaceLanguage language) {
    const QString name = HelpFileName(language);
    const QDir dir(executableDir);
    QStringList candidates{
        dir.filePath(name),
        dir.filePath(QStringLiteral("../") + QStringLiteral(ORV_HELP_INSTALL_SUBDIR) + QLatin1Char('/') +
                     name),
        QDir(QStringLiteral(ORV_HELP_INSTALLED_DIR)).filePath(name),
        // A program run from its build tree reads the document where it is written.
        QDir(QStringLiteral(ORV_HELP_SOURCE_DIR)).filePath(name),
    };
    for (QString& candidate : candidates) candidate = QDir::cleanPath(candidate);
    candidates.removeDuplicates();
    return candidates;
}

QString FindHelpDocument(const QString& executableDir, InterfaceLanguage language) {
    for (const QString& candidate : HelpDocumentCandidates(executableDir, language)) {
        if (QFileInfo(candidate).isFile()) return candidate;
    }
    return {};
}

void OpenHelp() {
    const QString document =
        FindHelpDocument(QCoreApplication::applicationDirPath(), ActiveInterfaceLanguage());
    if (document.isEmpty()) return;
    // A desktop without a viewer for it just declines; there is nothing to tell the user then.
    QDesktopServices::openUrl(QUrl::fromLocalFile(document));
}

}  // namespace orv
