#pragma once

#include <QString>
#include <optional>

#include "app/export_dlg.h"

class QWidget;

namespace orv {

// The answers to "変更を保存しますか？".
enum class SaveChoice { kSave, kDiscard, kCancel };

// The questions and messages of the editor commands. The editor asks through modal dialogs;
// tests answer without any.
class CommandPrompts {
public:
    virtual ~CommandPrompts() = default;

    // An existing file to open, or nothing when cancelled. `filter` in QFileDialog's form.
    virtual std::optional<QString> AskOpenPath(QWidget* parent, const QString& filter,
                                               const QString& defaultSuffix) = 0;
    // A file to save to (the overwrite question is part of it), or nothing when cancelled.
    virtual std::optional<QString> AskSavePath(QWidget* parent, const QString& proposed,
                                               const QString& filter, const QString& defaultSuffix) = 0;
    // One line of text, or nothing when cancelled.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Whether to save the modified effect before it is replaced or closed.
    virtual SaveChoice AskSaveChanges(QWidget* parent) = 0;
    // What to export, or nothing when cancelled.
    virtual std::optional<ExportChoice> AskExport(QWidget* parent, bool severalEmitters) = 0;
};

// File dialogs, CTextInputDlg and message boxes.
class DialogPrompts final : public CommandPrompts {
public:
    std::optional<QString> AskOpenPath(QWidget* parent, const QString& filter,
                                       const QString& defaultSuffix) override;
    std::optional<QString> AskSavePath(QWidget* parent, const QString& proposed, const QString& filter,
                                       const QString& defaultSuffix) override;
    std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& text) override;
    void ShowMessage(QWidget* parent, const QString& caption, const QString& text) override;
    SaveChoice AskSaveChanges(QWidget* parent) override;
    std::optional<ExportChoice> AskExport(QWidget* parent, bool severalEmitters) override;
};

}  // namespace orv
