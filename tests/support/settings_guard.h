#pragma once

#include "engine/settings.h"

namespace orv::test {

// Keeps the process-wide settings of one test from reaching the next.
struct SettingsGuard {
    Settings saved = CurrentSettings();
    bool activeSse2 = ActiveSse2();
    ~SettingsGuard() {
        CurrentSettings() = saved;
        SetActiveSse2(activeSse2);
    }
};

}  // namespace orv::test
