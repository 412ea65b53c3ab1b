#pragma once

#include <QTranslator>

#include "editor/interface_language.h"

namespace orv {

// The translations of one interface language, installed on the application while this lives:
// the editor's own texts (Japanese in the code, English from the embedded orv_en.qm) and Qt's
// texts (file dialogs, standard buttons) from Qt's translations where the system has them.
class InterfaceTranslations {
public:
    explicit InterfaceTranslations(InterfaceLanguage language);
    ~InterfaceTranslations();
    InterfaceTranslations(const InterfaceTranslations&) = delete;
    InterfaceTranslations& operator=(const InterfaceTranslations&) = delete;

private:
    InterfaceLanguage previous_;
    QTranslator editor_;
    QTranslator qt_;
};

// The language of the installed translations (Japanese when none are installed).
InterfaceLanguage ActiveInterfaceLanguage();

}  // namespace orv
