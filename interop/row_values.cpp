#include "interop/row_values.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace orv {

void StoreRowValue(Emitter& emitter, std::size_t row, double value, std::string_view source, ConversionReport* report) {
    const ParamDescriptor& param = Param(row);
    const double step = std::pow(10.0, param.decimals);
    const double scaled = std::round(value * step);
    const double limited = std::clamp(scaled, static_cast<double>(param.MinRaw()), static_cast<double>(param.MaxRaw()));
    if (limited != scaled && report) {
        report->Clamped(std::string(source) + " " + FormatNumber(value) + " -> " + FormatNumber(limited / step));
    }
    emitter.params.raw[row] = static_cast<std::int32_t>(limited);
}

double RowUnits(std::size_t row, std::int32_t raw) { return raw / std::pow(10.0, Param(row).decimals); }

double WrapDegrees(double degrees) {
    const double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0 ? wrapped + 360.0 : wrapped;
}

}  // namespace orv
