#include "engine/settings.h"

namespace orv {

bool ProcessorHasSse2() {
#if defined(__x86_64__) || defined(_M_X64)
    __builtin_cpu_init();  // may run before main, from a static initialiser
    return __builtin_cpu_supports("sse2");
#else
    return false;
#endif
}

Settings Settings::Defaults() {
    Settings settings;
    settings.sse2Enable = ProcessorHasSse2();
    return settings;
}

namespace {
Settings g_settings = Settings::Defaults();
bool g_activeSse2 = g_settings.sse2Enable;
}  // namespace

Settings& CurrentSettings() {
    return g_settings;
}
bool ActiveSse2() {
    return g_activeSse2 && ProcessorHasSse2();
}
void SetActiveSse2(bool on) {
    g_activeSse2 = on;
}

SettingsSnapshot TakeSettingsSnapshot() {
    const Settings& settings = CurrentSettings();
    return {settings.screenWidth, settings.screenHeight, settings.interpolateType,
            ActiveSse2(),         settings.drawType,     settings.drawingThreads};
}

}  // namespace orv
