#include "app/text_input_dlg.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"
#include "editor/command_ids.h"

namespace orv {

namespace {

constexpr int kMaxEditLength = 2048;
constexpr int kMaxTextLength = 2047;

}  // namespace

CTextInputDlg::CTextInputDlg(QWidget* parent, const QString& title, const QString& text)
    : QDialog(parent), edit_(new QLineEdit(this)), text_(text.left(kMaxTextLength)) {
    setWindowTitle(title.isEmpty() ? tr("文字入力") : title.left(kMaxTextLength));
    edit_->setObjectName(QString::number(kIdTextEdit));
    edit_->setMaxLength(kMaxEditLength);
    edit_->setText(text_);

    auto* buttons = new QDialogButtonBox(this);
    AddConfirmAndCancel(*this, *buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

void CTextInputDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edit_->setFocus();
    edit_->selectAll();
}

void CTextInputDlg::accept() {
    text_ = edit_->text().left(kMaxTextLength);
    QDialog::accept();
}

}  // namespace orv
