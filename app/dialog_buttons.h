#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>

namespace orv {

// The row every input dialog ends with: a default confirm button and "キャンセル", wired to the
// dialog's accept and reject. Returns the confirm button.
inline QPushButton* AddConfirmAndCancel(QDialog& dialog, QDialogButtonBox& buttons,
                                        const QString& confirmText = QStringLiteral("OK")) {
    QPushButton* confirm = buttons.addButton(confirmText, QDialogButtonBox::AcceptRole);
    confirm->setDefault(true);
    buttons.addButton(QCoreApplication::translate("orv::DialogButtons", "キャンセル"),
                      QDialogButtonBox::RejectRole);
    QObject::connect(&buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(&buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return confirm;
}

}  // namespace orv
