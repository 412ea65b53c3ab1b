#include "app/popup_menus.h"

#include <QAction>
#include <QCoreApplication>
#include <span>

#include "editor/command_ids.h"

namespace orv {

namespace {

// Menu texts are marked with QT_TRANSLATE_NOOP in this context and translated when shown.
QString Tr(const char* text) {
    return QCoreApplication::translate("orv::Menu", text);
}

struct Item {
    const char* text;  // null for a separator
    int id;
};

constexpr Item kSelectionItems[] = {
    {QT_TRANSLATE_NOOP("orv::Menu", "選択領域内から粒子が発生するように設定"), kCmdSelectionToEmission},
    {QT_TRANSLATE_NOOP("orv::Menu", "選択幅を初期サイズへ設定"), kCmdSelectionToStartSize},
    {QT_TRANSLATE_NOOP("orv::Menu", "選択幅を終了サイズへ設定"), kCmdSelectionToFinishSize},
    {QT_TRANSLATE_NOOP("orv::Menu", "選択幅を水平振幅、選択高さを垂直振幅へ設定"), kCmdSelectionToAmplitudes},
    {QT_TRANSLATE_NOOP("orv::Menu", "選択幅を水平振幅へ設定"), kCmdSelectionToHorAmplitude},
    {QT_TRANSLATE_NOOP("orv::Menu", "選択高さを垂直振幅へ設定"), kCmdSelectionToVerAmplitude},
};

void AddItems(QMenu& menu, std::span<const Item> items) {
    for (const Item& item : items) {
        if (item.text == nullptr) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(Tr(item.text));
        action->setData(item.id);
    }
}

std::unique_ptr<QMenu> MakeMenu(QWidget* parent, std::initializer_list<Item> items) {
    auto menu = std::make_unique<QMenu>(parent);
    AddItems(*menu, std::span<const Item>(items.begin(), items.size()));
    return menu;
}

// "元に戻す : 最大個数"; just "元に戻す", greyed, when there is no step.
void AddHistoryEntry(QMenu& menu, const QString& label, const std::optional<QString>& step, int id) {
    QAction* action = menu.addAction(step ? label + QStringLiteral(" : ") + *step : label);
    action->setData(id);
    action->setEnabled(step.has_value());
}

}  // namespace

std::unique_ptr<QMenu> MakeMainMenu(QWidget* parent, const UndoEntries& undo) {
    auto menu = std::make_unique<QMenu>(parent);
    AddHistoryEntry(*menu, Tr(QT_TRANSLATE_NOOP("orv::Menu", "元に戻す")), undo.undo, kCmdUndo);
    AddHistoryEntry(*menu, Tr(QT_TRANSLATE_NOOP("orv::Menu", "やり直し")), undo.redo, kCmdRedo);
    menu->addSeparator();
    const Item items[] = {{QT_TRANSLATE_NOOP("orv::Menu", "新規作成(&N)"), kCmdNew},
                          {QT_TRANSLATE_NOOP("orv::Menu", "ファイルを開く(&O)"), kCmdOpen},
                          {QT_TRANSLATE_NOOP("orv::Menu", "追加読込み"), kCmdMergeLoad},
                          {QT_TRANSLATE_NOOP("orv::Menu", "上書き保存(&S)"), kCmdSave},
                          {QT_TRANSLATE_NOOP("orv::Menu", "名前をつけて保存"), kCmdSaveAs},
                          {QT_TRANSLATE_NOOP("orv::Menu", "エクスポート"), kCmdExport},
                          {nullptr, 0},
                          {QT_TRANSLATE_NOOP("orv::Menu", "レンダリング(&R)"), kCmdRender},
                          {nullptr, 0},
                          {QT_TRANSLATE_NOOP("orv::Menu", "背景画像を指定(&B)"), kCmdSetBackgroundImage},
                          {QT_TRANSLATE_NOOP("orv::Menu", "背景画像を開放"), kCmdReleaseBackgroundImage},
                          {QT_TRANSLATE_NOOP("orv::Menu", "設定(&P)"), kCmdSettings},
                          {nullptr, 0},
                          {QT_TRANSLATE_NOOP("orv::Menu", "ヘルプ(&H)"), kCmdHelp},
                          {QT_TRANSLATE_NOOP("orv::Menu", "orvについて(&A)"), kCmdAbout},
                          {nullptr, 0},
                          {QT_TRANSLATE_NOOP("orv::Menu", "終了(&X)"), kCmdExit}};
    AddItems(*menu, items);
    return menu;
}

std::unique_ptr<QMenu> MakeListMenu(QWidget* parent, bool hasSelection, int itemCount) {
    auto menu =
        MakeMenu(parent, {{QT_TRANSLATE_NOOP("orv::Menu", "新しいエミッターの追加(&A)"), kCmdAddEmitter},
                          {QT_TRANSLATE_NOOP("orv::Menu", "名前の変更(&N)"), kCmdRenameEmitter},
                          {QT_TRANSLATE_NOOP("orv::Menu", "選択エミッターの削除(&D)"), kCmdDeleteEmitter},
                          {QT_TRANSLATE_NOOP("orv::Menu", "上へ(&U)"), kCmdMoveEmitterUp},
                          {QT_TRANSLATE_NOOP("orv::Menu", "下へ(&D)"), kCmdMoveEmitterDown}});
    FindCommand(*menu, kCmdDeleteEmitter)->setEnabled(hasSelection && itemCount >= 2);
    return menu;
}

std::unique_ptr<QMenu> MakeSelectionMenu(QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    AddItems(*menu, kSelectionItems);
    return menu;
}

QString SelectionCommandLabel(int id) {
    for (const Item& item : kSelectionItems) {
        if (item.id == id) return Tr(item.text);
    }
    return {};
}

int CommandOf(const QAction* action) {
    return action == nullptr ? 0 : action->data().toInt();
}

QAction* FindCommand(const QMenu& menu, int id) {
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator() && CommandOf(action) == id) return action;
    }
    return nullptr;
}

int ExecMenu(QMenu& menu, const QPoint& globalPosition) {
    return CommandOf(menu.exec(globalPosition));
}

}  // namespace orv
