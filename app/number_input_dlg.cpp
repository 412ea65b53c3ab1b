#include "app/number_input_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"
#include "app/qt_text.h"
#include "editor/command_ids.h"
#include "editor/number_text.h"

namespace orv {

namespace {

constexpr int kMaxInputLength = 1024;

}  // namespace

CNumberInputDlg::CNumberInputDlg(QWidget* parent, const QString& initialText, std::int32_t minimum,
                                 std::int32_t maximum, int decimals)
    : QDialog(parent),
      edit_(new QLineEdit(this)),
      range_(new QLabel(this)),
      minimum_(minimum),
      maximum_(maximum),
      decimals_(decimals) {
    setWindowTitle(tr("数値入力"));
    edit_->setObjectName(QString::number(kIdNumberEdit));
    edit_->setMaxLength(kMaxInputLength);
    edit_->setText(initialText);
    range_->setObjectName(QString::number(kIdNumberRange));
    range_->setText(tr("入力範囲 : %1 ～ %2")
                        .arg(ToQString(FormatRawNumber(minimum, decimals)),
                             ToQString(FormatRawNumber(maximum, decimals))));

    auto* buttons = new QDialogButtonBox(this);
    AddConfirmAndCancel(*this, *buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(range_);
    layout->addWidget(buttons);
    setMinimumWidth(280);
}

void CNumberInputDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edit_->setFocus();
    edit_->selectAll();
}

void CNumberInputDlg::accept() {
    const std::int64_t value = ParseRawNumber(ToU16(edit_->text().left(kMaxInputLength)), decimals_);
    if (value >= minimum_ && value <= maximum_) {
        result_ = static_cast<std::int32_t>(value);
        QDialog::accept();
        return;
    }
    if (refusal_) {
        refusal_();
    } else {
        QMessageBox::warning(this, QString(), tr("入力値が範囲外か不正です。"));
    }
}

}  // namespace orv
