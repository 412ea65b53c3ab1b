#pragma once

#include <array>

#include "engine/param_table.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QSlider;
class QWidget;

namespace orv {

class EmitterListWidget;
class ValueLabel;

struct ParamRowControls {
    ValueLabel* label = nullptr;
    QSlider* slider = nullptr;
};

// The parameter panel's controls, owned by the panel widget they were built in. Each control's
// object name is its id ("1058", "1003", ...), so it can be found by id.
struct ParamPanelControls {
    std::array<ParamRowControls, kParamCount> rows{};
    QGroupBox* gravityGroup = nullptr;
    QGroupBox* radialGroup = nullptr;
    QComboBox* typeCombo = nullptr;
    QComboBox* blendCombo = nullptr;
    QComboBox* sortCombo = nullptr;
    QCheckBox* enableColor = nullptr;
    QCheckBox* colorConstant = nullptr;
    QCheckBox* textureDirection = nullptr;
    EmitterListWidget* list = nullptr;
    QPushButton* menuButton = nullptr;
    QPushButton* textureButton = nullptr;
    QPushButton* resetButton = nullptr;
};

// Builds every control of the panel into `panel` and lays them out for an 800-pixel-wide pane:
// the sliders at their rows' ranges and default positions, the combo boxes with their items in
// value order. Controls are created in the order Tab visits them.
ParamPanelControls BuildParamPanel(QWidget& panel);

}  // namespace orv
