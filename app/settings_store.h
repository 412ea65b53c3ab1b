#pragma once

#include "editor/interface_language.h"

namespace orv {

// Reads the settings record from the per-user store (QSettings "brantsoft" / "orv"): each value
// that is present and readable replaces its default, then the drawing code's SSE2 flag follows
// the stored one. Storage that cannot be read leaves the defaults in place.
void LoadSettings();

// Writes all six values of the settings record to the per-user store. A store that cannot be
// written loses the change for the next run only; nothing is reported.
void SaveSettings();

// The interface language chosen in the settings dialog; kAutomatic when none was stored. It takes
// effect at the editor's next start, so it is kept apart from the settings record.
LanguageChoice LoadLanguageChoice();
void SaveLanguageChoice(LanguageChoice choice);

}  // namespace orv
