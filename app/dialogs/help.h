#pragma once

#include <QString>
#include <QStringList>

namespace orv {

// The help document's file name, installed next to the program or in its share folder.
inline constexpr char kHelpFileName[] = "orv-help.html";

// Where the help document may be, in the order they are tried: next to the executable, in the
// install's share folder, then in the source tree the program was built from.
QStringList HelpDocumentCandidates(const QString& executableDir);

// The first candidate that exists, or an empty text.
QString FindHelpDocument(const QString& executableDir);

// Shows the help document in the desktop's viewer; nothing happens when there is no document or
// no viewer answers.
void OpenHelp();

}  // namespace orv
