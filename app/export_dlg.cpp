#include "app/export_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"

namespace orv {

CExportDlg::CExportDlg(QWidget* parent, bool severalEmitters)
    : QDialog(parent),
      allEmitters_(new QCheckBox(tr("すべてのエミッター (1つずつ別のファイル)"), this)),
      embedTexture_(new QCheckBox(tr("テクスチャを埋め込む"), this)) {
    setWindowTitle(tr("エクスポート"));
    allEmitters_->setEnabled(severalEmitters);
    auto* buttons = new QDialogButtonBox(this);
    AddConfirmAndCancel(*this, *buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Particle Designer形式 (.plist / .pex) で書き出します。"), this));
    layout->addWidget(allEmitters_);
    layout->addWidget(embedTexture_);
    layout->addWidget(buttons);
}

ExportChoice CExportDlg::Choice() const {
    return {allEmitters_->isEnabled() && allEmitters_->isChecked(), embedTexture_->isChecked()};
}

}  // namespace orv
