#pragma once

#include <QMenu>
#include <QString>
#include <memory>
#include <optional>

class QWidget;

namespace orv {

// Each action carries its command id as data; a chosen action's id is what the receiving
// window executes.

// The names of the steps undo and redo would take; none greys its entry.
struct UndoEntries {
    std::optional<QString> undo;
    std::optional<QString> redo;
};

// Menu 205, the panel's "メニュー" button: "元に戻す : <step>" and "やり直し : <step>" at the top,
// then file, render, background, settings, help, about, exit.
std::unique_ptr<QMenu> MakeMainMenu(QWidget* parent, const UndoEntries& undo = {});

// Menu 206, the emitter list's right button. Deleting is offered only while an item is selected
// and at least two are listed, so the last emitter stays.
std::unique_ptr<QMenu> MakeListMenu(QWidget* parent, bool hasSelection, int itemCount);

// Menu 209, the preview's right button: the six selection commands.
std::unique_ptr<QMenu> MakeSelectionMenu(QWidget* parent);
// The label of a selection command (empty for any other id).
QString SelectionCommandLabel(int id);

// The command id of an action (0 when it carries none).
int CommandOf(const QAction* action);

// The action of `id` in `menu`, or null.
QAction* FindCommand(const QMenu& menu, int id);

// Shows `menu` at a global position and returns the chosen command id, 0 when none.
int ExecMenu(QMenu& menu, const QPoint& globalPosition);

}  // namespace orv
