#pragma once

#include <QDialog>

class QCheckBox;

namespace orv {

// What "エクスポート" writes: the current emitter or every emitter (one file each), with or
// without the texture embedded.
struct ExportChoice {
    bool allEmitters = false;
    bool embedTexture = false;
};

// The question before the file dialog of "エクスポート".
class CExportDlg final : public QDialog {
    Q_OBJECT
public:
    // `severalEmitters`: whether "every emitter" means more than the current one.
    CExportDlg(QWidget* parent, bool severalEmitters);
    ExportChoice Choice() const;

private:
    QCheckBox* allEmitters_;
    QCheckBox* embedTexture_;
};

}  // namespace orv
