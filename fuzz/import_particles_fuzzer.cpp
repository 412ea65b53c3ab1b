// libFuzzer target: any bytes read as a .plist, a .pex or a .p file either map onto emitters or
// are refused with a message; nothing crashes, hangs or leaks. The first byte picks the format.
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "interop/gdx_mapping.h"
#include "interop/pd_mapping.h"
#include "interop/pex_file.h"
#include "interop/plist_file.h"

namespace {

void ImportPd(const orv::PdConfig& config, bool missingMeansUp) {
    orv::Emitter emitter;
    orv::ConversionReport report;
    orv::PdToEmitter(config, orv::PdFrame{800, 600, orv::PdYAxisUp(config, missingMeansUp)}, emitter, report);
    (void)report.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        switch (data[0] % 3) {
            case 0:
                ImportPd(orv::ReadPlist(text), true);
                break;
            case 1:
                ImportPd(orv::ReadPex(text), false);
                break;
            default:
                for (const orv::GdxEmitter& source : orv::ReadGdxParticles(text)) {
                    orv::Emitter emitter;
                    orv::ConversionReport report;
                    orv::GdxToEmitter(source, emitter, report);
                }
        }
    } catch (const std::runtime_error&) {
        // A refused file: what the importer promises for bad input.
    }
    return 0;
}
