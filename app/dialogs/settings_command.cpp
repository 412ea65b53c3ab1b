// The settings command as the editor runs it: the dialog, then the settings store.
#include "app/dialogs/option_dlg.h"
#include "app/settings_store.h"

namespace orv {

SettingsChange RunSettingsCommand(QWidget* parent) {
    return RunSettingsCommand(parent, [] { SaveSettings(); });
}

}  // namespace orv
