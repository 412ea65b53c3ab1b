#include "editor/step_names.h"

#include "engine/param_table.h"
#include "vesk/text_conversion.h"

namespace orv {

std::u16string RowStepName(std::size_t row) {
    std::u16string name;
    vesk::MultiByteToWide(name, Param(row).name, true);
    return name;
}

}  // namespace orv
