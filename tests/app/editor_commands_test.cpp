#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSlider>
#include <QTemporaryDir>
#include <QUrl>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/param_dlg_view.h"
#include "app/popup_menus.h"
#include "effectfile/effect_writer.h"
#include "engine/param_table.h"
#include "image/png_writer.h"
#include "tests/app/app_test_support.h"

namespace orv {
namespace {

using test::FakeClock;
using test::FakePrompts;
using test::ToQ;
using test::ToU16;

class EditorCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApp();
        CurrentSettings() = Settings::Defaults();
        ASSERT_TRUE(dir_.isValid());
        answers_ = std::make_shared<FakePrompts::Answers>();
        frame_ = std::make_unique<CMainFrame>(clock_.Clock(), std::make_unique<FakePrompts>(answers_));
    }

    CParamDlgView& Panel() { return frame_->Controller(); }
    Effect& TheEffect() { return Panel().GetEffect(); }
    QListWidget* List() { return Panel().findChild<QListWidget*>(QString::number(kIdEmitterList)); }
    QString PathOf(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    void AddEmitters(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            answers_->texts.push_back(QString::fromLatin1(name));
            Panel().ExecuteCommand(kCmdAddEmitter);
        }
    }

    // An effect file with emitters of the given names and a background red of `bgRed`.
    QString WriteEffectFile(const char* file, std::initializer_list<const char*> names, std::int32_t bgRed) {
        Effect effect;
        effect.RemoveAllEmitters();
        for (const char* name : names) effect.AddEmitter(ToU16(QString::fromLatin1(name)));
        effect.SetBackgroundRaw(kBgR, bgRed);
        const QString path = PathOf(file);
        EXPECT_FALSE(SaveEffect(effect, ToU16(path)));
        return path;
    }

    std::vector<QString> ListTexts() {
        std::vector<QString> texts;
        for (int row = 0; row < List()->count(); ++row) texts.push_back(List()->item(row)->text());
        return texts;
    }

    void Drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame_.get(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame_.get(), &drop);
    }

    test::SettingsGuard guard_;
    QTemporaryDir dir_;
    FakeClock clock_;
    std::shared_ptr<FakePrompts::Answers> answers_;
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(EditorCommandsTest, AddProposesTheNextNumberAndCancelAddsNothing) {
    AddEmitters({"b", "c"});
    answers_->texts.push_back(std::nullopt);
    Panel().ExecuteCommand(kCmdAddEmitter);
    answers_->texts.push_back(QString());
    Panel().ExecuteCommand(kCmdAddEmitter);
    ASSERT_EQ(answers_->askedTexts.size(), 4u);
    EXPECT_EQ(answers_->askedTexts[2], QStringLiteral("emitter 04"));
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"emitter 01", "b", "c"}));
    EXPECT_EQ(Panel().CurrentEmitter(), &TheEffect().EmitterAt(2)) << "the added emitter becomes current";
    EXPECT_EQ(List()->currentRow(), 2);
}

TEST_F(EditorCommandsTest, RenameNeedsASelectionAndANewName) {
    AddEmitters({"b"});
    answers_->texts = {QStringLiteral("smoke")};
    List()->setCurrentRow(0);
    Panel().ExecuteCommand(kCmdRenameEmitter);
    EXPECT_EQ(answers_->askedTexts.back(), QStringLiteral("emitter 01"));
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"smoke", "b"}));
    EXPECT_EQ(List()->currentRow(), 0);

    List()->clearSelection();
    const std::size_t asked = answers_->askedTexts.size();
    Panel().ExecuteCommand(kCmdRenameEmitter);
    EXPECT_EQ(answers_->askedTexts.size(), asked) << "no selection, no question";
}

TEST_F(EditorCommandsTest, DeleteKeepsOneEmitterAndSelectsTheFirst) {
    AddEmitters({"b", "c"});
    List()->setCurrentRow(2);
    Panel().ExecuteCommand(kCmdDeleteEmitter);
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"emitter 01", "b"}));
    EXPECT_EQ(Panel().CurrentEmitter(), &TheEffect().EmitterAt(0));
    EXPECT_EQ(List()->currentRow(), 0);

    Panel().ExecuteCommand(kCmdDeleteEmitter);
    Panel().ExecuteCommand(kCmdDeleteEmitter);
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"b"}));
    EXPECT_EQ(Panel().CurrentEmitter(), &TheEffect().EmitterAt(0));
}

TEST_F(EditorCommandsTest, ListMenuGreysDeleteForTheLastOrUnselectedItem) {
    auto single = Panel().MakeListMenu();
    EXPECT_FALSE(FindCommand(*single, kCmdDeleteEmitter)->isEnabled());
    AddEmitters({"b"});
    EXPECT_TRUE(FindCommand(*Panel().MakeListMenu(), kCmdDeleteEmitter)->isEnabled());
    List()->clearSelection();
    auto unselected = Panel().MakeListMenu();
    EXPECT_FALSE(FindCommand(*unselected, kCmdDeleteEmitter)->isEnabled());
    EXPECT_TRUE(FindCommand(*unselected, kCmdAddEmitter)->isEnabled());
    EXPECT_EQ(FindCommand(*unselected, kCmdMoveEmitterDown)->text(), QStringLiteral("下へ(&D)"));
}

TEST_F(EditorCommandsTest, MoveUpAndDownStopAtTheEndsAndLeaveNothingSelected) {
    AddEmitters({"b", "c"});
    Emitter* current = Panel().CurrentEmitter();
    List()->setCurrentRow(0);
    current = Panel().CurrentEmitter();
    Panel().ExecuteCommand(kCmdMoveEmitterUp);
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"emitter 01", "b", "c"}));

    List()->setCurrentRow(0);
    Panel().ExecuteCommand(kCmdMoveEmitterDown);
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"b", "emitter 01", "c"}));
    EXPECT_TRUE(List()->selectedItems().isEmpty());
    EXPECT_EQ(Panel().CurrentEmitter(), current);

    List()->setCurrentRow(2);
    Panel().ExecuteCommand(kCmdMoveEmitterDown);
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"b", "emitter 01", "c"}));
    Panel().ExecuteCommand(kCmdMoveEmitterUp);
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"b", "c", "emitter 01"}));
}

TEST_F(EditorCommandsTest, SaveWithoutPathDoesNothingAndSaveAsSetsIt) {
    Panel().ExecuteCommand(kCmdSave);
    EXPECT_EQ(answers_->pathQuestions, 0);
    EXPECT_TRUE(Panel().CurrentFilePath().empty());

    const QString path = PathOf("saved.orv");
    answers_->paths = {path};
    Panel().ExecuteCommand(kCmdSaveAs);
    EXPECT_EQ(answers_->proposedSaves.back(), QStringLiteral(".orv"));
    EXPECT_EQ(ToQ(Panel().CurrentFilePath()), path);
    EXPECT_TRUE(QFile::exists(path));

    answers_->paths = {std::nullopt};
    Panel().ExecuteCommand(kCmdSaveAs);
    EXPECT_EQ(answers_->proposedSaves.back(), PathOf("saved.orv"));
    EXPECT_EQ(ToQ(Panel().CurrentFilePath()), path) << "cancelling keeps the path";
}

TEST_F(EditorCommandsTest, OpenReplacesAndMergeAppendsAndBecomesCurrent) {
    const QString a = WriteEffectFile("a.orv", {"a1", "a2"}, 250);
    const QString b = WriteEffectFile("b.orv", {"b1"}, 500);
    answers_->paths = {a};
    Panel().ExecuteCommand(kCmdOpen);
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"a1", "a2"}));
    EXPECT_EQ(ToQ(Panel().CurrentFilePath()), a);
    EXPECT_EQ(Panel().findChild<QSlider*>(QString::number(Param(kBgR).sliderId))->value(), 250);
    EXPECT_TRUE(Panel().TimerActive());

    answers_->paths = {b};
    Panel().ExecuteCommand(kCmdMergeLoad);
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"a1", "a2", "b1"}));
    EXPECT_EQ(ToQ(Panel().CurrentFilePath()), b);
    EXPECT_EQ(Panel().CurrentEmitter(), &TheEffect().EmitterAt(0));
}

TEST_F(EditorCommandsTest, FailedOpenShowsTheErrorAndKeepsTheCurrentFile) {
    const QString good = WriteEffectFile("good.orv", {"g"}, 0);
    answers_->paths = {good};
    Panel().ExecuteCommand(kCmdOpen);
    QFile broken(PathOf("broken.orv"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{ \"emitters\": [ ");
    broken.close();

    answers_->paths = {PathOf("broken.orv")};
    Panel().ExecuteCommand(kCmdOpen);
    ASSERT_EQ(answers_->messageCaptions.size(), 1u);
    EXPECT_EQ(answers_->messageCaptions[0], QStringLiteral("読込みエラー"));
    EXPECT_EQ(ToQ(Panel().CurrentFilePath()), good) << "a later save must not overwrite the broken file";
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"g"}));
}

TEST_F(EditorCommandsTest, SaveFailureShowsTheWriteErrorCaption) {
    answers_->paths = {dir_.filePath(QStringLiteral("missing/folder/x.orv"))};
    Panel().ExecuteCommand(kCmdSaveAs);
    ASSERT_EQ(answers_->messageCaptions.size(), 1u);
    EXPECT_EQ(answers_->messageCaptions[0], QStringLiteral("書き込みエラー"));
}

TEST_F(EditorCommandsTest, NewLeavesOneDefaultEmitterAndNoFile) {
    const QString a = WriteEffectFile("a.orv", {"a1", "a2"}, 300);
    Panel().OpenEffectPath(ToU16(a));
    Panel().ExecuteCommand(kCmdNew);
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"emitter 01"}));
    EXPECT_TRUE(Panel().CurrentFilePath().empty());
    EXPECT_EQ(TheEffect().BackgroundRaw(kBgR), 300) << "the background stays";
    EXPECT_EQ(Panel().CurrentEmitter()->params.raw[kStartSize], Param(kStartSize).DefaultRaw());
}

TEST_F(EditorCommandsTest, DroppingSeveralFilesHandlesOnlyTheFirst) {
    const QString first = WriteEffectFile("first.ORV", {"f1", "f2"}, 0);
    const QString second = WriteEffectFile("second.orv", {"s1"}, 0);
    Drop({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second), QUrl::fromLocalFile(PathOf("x.png"))});
    EXPECT_EQ(ListTexts(), (std::vector<QString>{"f1", "f2"}));
    EXPECT_EQ(ToQ(Panel().CurrentFilePath()), first);
}

TEST_F(EditorCommandsTest, DroppedPictureBecomesTheCurrentEmittersTexture) {
    Texture picture;
    picture.colour.emplace(4, 4);
    for (std::uint32_t y = 0; y < 4; ++y) {
        for (std::uint32_t x = 0; x < 4; ++x) picture.colour->At(x, y) = 0xFF336699u;
    }
    const QString png = PathOf("tex.png");
    ASSERT_TRUE(SavePng(ToU16(png), picture));
    AddEmitters({"b"});
    Drop({QUrl::fromLocalFile(png), QUrl::fromLocalFile(PathOf("other.orv"))});
    EXPECT_EQ(TheEffect().EmitterAt(1).texture.FileName(), ToU16(png));
    EXPECT_EQ(TheEffect().EmitterAt(0).texture.Image(), nullptr);
    EXPECT_TRUE(Panel().CurrentFilePath().empty());
}

TEST_F(EditorCommandsTest, BackgroundImageCommands) {
    Texture picture;
    picture.colour.emplace(2, 2);
    for (std::uint32_t y = 0; y < 2; ++y) {
        for (std::uint32_t x = 0; x < 2; ++x) picture.colour->At(x, y) = 0xFF00FF00u;
    }
    const QString png = PathOf("bg.png");
    ASSERT_TRUE(SavePng(ToU16(png), picture));
    answers_->paths = {PathOf("not-there.png")};
    Panel().ExecuteCommand(kCmdSetBackgroundImage);
    EXPECT_EQ(Panel().BackgroundImage(), nullptr);

    answers_->paths = {png};
    Panel().ExecuteCommand(kCmdSetBackgroundImage);
    ASSERT_NE(Panel().BackgroundImage(), nullptr);
    FrameBuffer* preview = frame_->PreviewBuffer();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->At(0, 0), 0xFF00FF00u) << "the background is redrawn at once";

    Panel().ExecuteCommand(kCmdReleaseBackgroundImage);
    EXPECT_EQ(Panel().BackgroundImage(), nullptr);
    EXPECT_EQ(preview->At(0, 0), TheEffect().BackgroundColour());
}

TEST_F(EditorCommandsTest, MainMenuHoldsEveryCommandEnabled) {
    auto menu = MakeMainMenu(nullptr);
    for (int id : {kCmdNew, kCmdOpen, kCmdMergeLoad, kCmdSave, kCmdSaveAs, kCmdRender, kCmdSetBackgroundImage,
                   kCmdReleaseBackgroundImage, kCmdSettings, kCmdHelp, kCmdAbout, kCmdExit}) {
        QAction* action = FindCommand(*menu, id);
        ASSERT_NE(action, nullptr) << id;
        EXPECT_TRUE(action->isEnabled()) << id;
    }
    EXPECT_EQ(FindCommand(*menu, kCmdExit)->text(), QStringLiteral("終了(&X)"));
}

}  // namespace
}  // namespace orv
