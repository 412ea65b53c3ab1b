#include "app/number_input_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/command_ids.h"
#include "app/number_text.h"

namespace orv {

namespace {

constexpr int kMaxInputLength = 1024;

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CNumberInputDlg::CNumberInputDlg(QWidget* parent, const QString& initialText, std::int32_t minimum,
                                 std::int32_t maximum, int decimals)
    : QDialog(parent),
      edit_(new QLineEdit(this)),
      range_(new QLabel(this)),
      minimum_(minimum),
      maximum_(maximum),
      decimals_(decimals) {
    setWindowTitle(QStringLiteral("数値入力"));
    edit_->setObjectName(QString::number(kIdNumberEdit));
    edit_->setMaxLength(kMaxInputLength);
    edit_->setText(initialText);
    range_->setObjectName(QString::number(kIdNumberRange));
    range_->setText(ToQString(InputRangeText(minimum, maximum, decimals)));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNumberInputDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNumberInputDlg::reject);

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
    const QString text = edit_->text().left(kMaxInputLength);
    const std::int64_t value =
        ParseRawNumber(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           static_cast<std::size_t>(text.size())),
                       decimals_);
    if (value >= minimum_ && value <= maximum_) {
        result_ = static_cast<std::int32_t>(value);
        QDialog::accept();
        return;
    }
    if (refusal_) {
        refusal_();
    } else {
        QMessageBox::warning(this, QString(), QStringLiteral("入力値が範囲外か不正です。"));
    }
}

}  // namespace orv
