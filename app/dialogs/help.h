#pragma once

#include <QString>
#include <QStringList>

#include "editor/interface_language.h"

namespace orv {

// The help document's file name in each interface language ("orv-help.html" in Japanese,
// "orv-help.en.html" in English), installed next to the program or in its share folder.
QString HelpFileName(InterfaceLanguage language);

// Where the language's help document may be, in the order they are tried: next to the
// executable, in the install's share folder, then in the source tree the program was built from.
QStringList HelpDocumentCandidates(const QString& executableDir, InterfaceLanguage language);

// The first candidate that exists, or an empty text.
QString FindHelpDocument(const QString& executableDir, InterfaceLanguage language);

// Shows the help document of the interface's language in the desktop's viewer; nothing happens
// when there is no document or no viewer answers.
void OpenHelp();

}  // namespace orv
