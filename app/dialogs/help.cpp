#include "app/dialogs/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace orv {

QStringList HelpDocumentCandidates(const QString& executableDir) {
    const QString name = QString::fromLatin1(kHelpFileName);
    const QDir dir(executableDir);
    QStringList candidates{
        dir.filePath(name),
        dir.filePath(QStringLiteral("../") + QStringLiteral(ORV_HELP_INSTALL_SUBDIR) + QLatin1Char('/') +
                     name),
        QStringLiteral(ORV_HELP_INSTALLED_FILE),
        // A program run from its build tree reads the document where it is written.
        QStringLiteral(ORV_HELP_SOURCE_FILE),
    };
    for (QString& candidate : candidates) candidate = QDir::cleanPath(candidate);
    candidates.removeDuplicates();
    return candidates;
}

QString FindHelpDocument(const QString& executableDir) {
    for (const QString& candidate : HelpDocumentCandidates(executableDir)) {
        if (QFileInfo(candidate).isFile()) return candidate;
    }
    return {};
}

void OpenHelp() {
    const QString document = FindHelpDocument(QCoreApplication::applicationDirPath());
    if (document.isEmpty()) return;
    // A desktop without a viewer for it just declines; there is nothing to tell the user then.
    QDesktopServices::openUrl(QUrl::fromLocalFile(document));
}

}  // namespace orv
