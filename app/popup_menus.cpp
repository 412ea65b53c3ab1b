#include "app/popup_menus.h"

#include <QAction>
#include <span>

#include "editor/command_ids.h"

namespace orv {

namespace {

struct Item {
    const char* text;  // null for a separator
    int id;
};

constexpr Item kSelectionItems[] = {
    {"選択領域内から粒子が発生するように設定", kCmdSelectionToEmission},
    {"選択幅を初期サイズへ設定", kCmdSelectionToStartSize},
    {"選択幅を終了サイズへ設定", kCmdSelectionToFinishSize},
    {"選択幅を水平振幅、選択高さを垂直振幅へ設定", kCmdSelectionToAmplitudes},
    {"選択幅を水平振幅へ設定", kCmdSelectionToHorAmplitude},
    {"選択高さを垂直振幅へ設定", kCmdSelectionToVerAmplitude},
};

void AddItems(QMenu& menu, std::span<const Item> items) {
    for (const Item& item : items) {
        if (item.text == nullptr) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromUtf8(item.text));
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
    AddHistoryEntry(*menu, QStringLiteral("元に戻す"), undo.undo, kCmdUndo);
    AddHistoryEntry(*menu, QStringLiteral("やり直し"), undo.redo, kCmdRedo);
    menu->addSeparator();
    const Item items[] = {{"新規作成(&N)", kCmdNew},
                             {"ファイルを開く(&O)", kCmdOpen},
                             {"追加読込み", kCmdMergeLoad},
                             {"上書き保存(&S)", kCmdSave},
                             {"名前をつけて保存", kCmdSaveAs},
                             {"エクスポート", kCmdExport},
                             {nullptr, 0},
                             {"レンダリング(&R)", kCmdRender},
                             {nullptr, 0},
                             {"背景画像を指定(&B)", kCmdSetBackgroundImage},
                             {"背景画像を開放", kCmdReleaseBackgroundImage},
                             {"設定(&P)", kCmdSettings},
                             {nullptr, 0},
                             {"ヘルプ(&H)", kCmdHelp},
                             {"orvについて(&A)", kCmdAbout},
                             {nullptr, 0},
                             {"終了(&X)", kCmdExit}};
    AddItems(*menu, items);
    return menu;
}

std::unique_ptr<QMenu> MakeListMenu(QWidget* parent, bool hasSelection, int itemCount) {
    auto menu = MakeMenu(parent, {{"新しいエミッターの追加(&A)", kCmdAddEmitter},
                                  {"名前の変更(&N)", kCmdRenameEmitter},
                                  {"選択エミッターの削除(&D)", kCmdDeleteEmitter},
                                  {"上へ(&U)", kCmdMoveEmitterUp},
                                  {"下へ(&D)", kCmdMoveEmitterDown}});
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
        if (item.id == id) return QString::fromUtf8(item.text);
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
