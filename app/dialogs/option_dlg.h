#pragma once

#include <QDialog>
#include <functional>

#include "editor/interface_language.h"
#include "editor/option_choices.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace orv {

// "設定": frame size, preview rate, drawing mode, texture sampling, the SSE2 path, the number
// of drawing threads and the interface language (which takes effect at the next start).
class COptionDlg : public QDialog {
    Q_OBJECT
public:
    // `sse2Available` enables the SSE2 check box; a processor without SSE2 cannot use the path.
    COptionDlg(const OptionChoices& choices, LanguageChoice language, bool sse2Available,
               QWidget* parent = nullptr);

    // What the user chose; meaningful after the dialog was confirmed.
    const OptionChoices& Choices() const { return choices_; }
    LanguageChoice Language() const { return language_; }

public slots:
    void accept() override;

private:
    OptionChoices choices_;
    LanguageChoice language_;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QComboBox* frameRateList_ = nullptr;
    QComboBox* drawTypeList_ = nullptr;
    QComboBox* interpolationList_ = nullptr;
    QCheckBox* sse2Check_ = nullptr;
    QSpinBox* threadsSpin_ = nullptr;
    QComboBox* languageList_ = nullptr;
};

// The settings command: the dialog filled from CurrentSettings() and the stored language choice;
// on OK every changed value is stored, the active SSE2 flag follows the stored one, the settings
// are saved when anything changed, and a changed language choice is stored. The caller restarts the preview
// timer or resizes the preview as the result says.
SettingsChange RunSettingsCommand(QWidget* parent);

// The same with the saving step supplied by the caller.
SettingsChange RunSettingsCommand(QWidget* parent, const std::function<void()>& save);

}  // namespace orv
