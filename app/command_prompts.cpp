#include "app/command_prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/text_input_dlg.h"

namespace orv {

namespace {

// Texts are marked with QT_TRANSLATE_NOOP in this context and translated when shown.
QString Tr(const char* text) {
    return QCoreApplication::translate("orv::DialogPrompts", text);
}

}  // namespace

std::optional<QString> DialogPrompts::AskOpenPath(QWidget* parent, const QString& filter,
                                                  const QString& defaultSuffix) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> DialogPrompts::AskSavePath(QWidget* parent, const QString& proposed,
                                                  const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> DialogPrompts::AskText(QWidget* parent, const QString& title, const QString& text) {
    CTextInputDlg dialog(parent, title, text);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Text();
}

std::optional<ExportChoice> DialogPrompts::AskExport(QWidget* parent, bool severalEmitters) {
    CExportDlg dialog(parent, severalEmitters);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

void DialogPrompts::ShowMessage(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::warning(parent, caption, text);
}

SaveChoice DialogPrompts::AskSaveChanges(QWidget* parent) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("orv"),
                    Tr(QT_TRANSLATE_NOOP("orv::DialogPrompts", "変更を保存しますか？")),
                    QMessageBox::NoButton, parent);
    QPushButton* save =
        box.addButton(Tr(QT_TRANSLATE_NOOP("orv::DialogPrompts", "保存")), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(Tr(QT_TRANSLATE_NOOP("orv::DialogPrompts", "保存しない")),
                                         QMessageBox::DestructiveRole);
    QPushButton* cancel =
        box.addButton(Tr(QT_TRANSLATE_NOOP("orv::DialogPrompts", "キャンセル")), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveChoice::kSave;
    if (box.clickedButton() == discard) return SaveChoice::kDiscard;
    return SaveChoice::kCancel;
}

}  // namespace orv
