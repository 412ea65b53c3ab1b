#pragma once

#include <QDialog>
#include <functional>

#include "editor/option_choices.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace orv {

// "設定": frame size, preview rate, drawing mode, texture sampling, the SSE2 path and the number
// of drawing threads.
class COptionDlg : public QDialog {
    Q_OBJECT
public:
    // `sse2Available` enables the SSE2 check box; a processor without SSE2 cannot use the path.
    COptionDlg(const OptionChoices& choices, bool sse2Available, QWidget* parent = nullptr);

    // What the user chose; meaningful after the dialog was confirmed.
    const OptionChoices& Choices() const { return choices_; }

public slots:
    void accept() override;

private:
    OptionChoices choices_;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QComboBox* frameRateList_ = nullptr;
    QComboBox* drawTypeList_ = nullptr;
    QComboBox* interpolationList_ = nullptr;
    QCheckBox* sse2Check_ = nullptr;
    QSpinBox* threadsSpin_ = nullptr;
};

// The settings command: the dialog filled from CurrentSettings(); on OK every changed value is
// stored, the active SSE2 flag follows the stored one, and the settings are saved when anything
// changed. The caller restarts the preview timer or resizes the preview as the result says.
SettingsChange RunSettingsCommand(QWidget* parent);

// The same with the saving step supplied by the caller.
SettingsChange RunSettingsCommand(QWidget* parent, const std::function<void()>& save);

}  // namespace orv
