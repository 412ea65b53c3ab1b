#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/command_prompts.h"
#include "app/main_frame.h"
#include "app/orv_view.h"
#include "app/param_dlg_view.h"
#include "app/popup_menus.h"
#include "app/qt_text.h"
#include "editor/command_ids.h"
#include "engine/param_table.h"
#include "engine/settings.h"
#include "tests/editor/fake_clock.h"
#include "tests/support/settings_guard.h"

namespace orv::test {

inline const QString kFire = QStringLiteral(ORV_SOURCE_DIR "/examples/fire.orv");

// Prompts answered from queues; what was asked is recorded. Unsaved changes are discarded unless
// an answer is queued.
struct FakePrompts final : CommandPrompts {
    std::vector<std::optional<QString>> paths, texts;
    std::vector<SaveChoice> saveChoices;
    std::vector<QString> askedTexts, proposedSaves, captions, messages;
    std::optional<ExportChoice> exportChoice;
    int pathQuestions = 0, saveQuestions = 0;

    std::optional<QString> AskOpenPath(QWidget*, const QString&, const QString&) override {
        ++pathQuestions;
        return Pop(paths, std::nullopt);
    }
    std::optional<QString> AskSavePath(QWidget*, const QString& proposed, const QString&,
                                       const QString&) override {
        proposedSaves.push_back(proposed);
        return AskOpenPath(nullptr, proposed, proposed);
    }
    std::optional<QString> AskText(QWidget*, const QString&, const QString& text) override {
        askedTexts.push_back(text);
        return Pop(texts, std::nullopt);
    }
    void ShowMessage(QWidget*, const QString& caption, const QString& text) override {
        captions.push_back(caption);
        messages.push_back(text);
    }
    SaveChoice AskSaveChanges(QWidget*) override {
        ++saveQuestions;
        return Pop(saveChoices, SaveChoice::kDiscard);
    }
    std::optional<ExportChoice> AskExport(QWidget*, bool) override { return exportChoice; }
    template <typename T>
    static T Pop(std::vector<T>& queue, std::type_identity_t<T> unanswered) {
        if (!queue.empty()) {
            std::swap(unanswered, queue.front());
            queue.erase(queue.begin());
        }
        return unanswered;
    }
};

// The editor window on default settings, with a hand-moved clock and answered prompts.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        CurrentSettings() = Settings::Defaults();
        auto prompts = std::make_unique<FakePrompts>();
        prompts_ = prompts.get();
        frame_ = std::make_unique<CMainFrame>(clock_.Clock(), std::move(prompts));
    }
    CParamDlgView& Panel() { return frame_->Controller(); }
    Effect& TheEffect() { return Panel().GetEffect(); }
    Emitter& Current() { return *Panel().CurrentEmitter(); }
    template <typename T>
    T* Find(int id) {
        return Panel().findChild<T*>(QString::number(id));
    }
    QSlider* Slider(std::size_t row) { return Find<QSlider>(Param(row).sliderId); }
    QLabel* Label(std::size_t row) { return Find<QLabel>(Param(row).labelId); }
    QListWidget* List() { return Find<QListWidget>(kIdEmitterList); }
    std::vector<std::int32_t> Raws(const std::vector<std::size_t>& rows) {
        std::vector<std::int32_t> raws;
        for (std::size_t row : rows) raws.push_back(Current().params.raw[row]);
        return raws;
    }
    std::vector<int> SliderValues(std::initializer_list<std::size_t> rows) {
        std::vector<int> values;
        for (std::size_t row : rows) values.push_back(Slider(row)->value());
        return values;
    }
    void ShowActive() {
        frame_->show();
        frame_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    }
    // Ticks of the preview `ms` milliseconds apart.
    void Ticks(int count, std::uint32_t ms = 16) {
        for (int tick = 0; tick < count; ++tick) {
            clock_.Advance(ms);
            Panel().OnTick();
        }
    }
    QString PathOf(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    void AddEmitters(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            prompts_->texts.push_back(QString::fromLatin1(name));
            Panel().ExecuteCommand(kCmdAddEmitter);
        }
    }
    // Runs a command whose file question is answered with `path`.
    void Run(int command, std::optional<QString> path) {
        prompts_->paths = {std::move(path)};
        Panel().ExecuteCommand(command);
    }
    // The colour the view presents at the centre of its viewport.
    QRgb ShownAtCentre() {
        const COrvView& view = frame_->View();
        const QPoint scroll(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
        return view.Surface().pixel(view.viewport()->rect().center() + scroll);
    }
    std::vector<QString> ListTexts() {
        std::vector<QString> texts;
        for (int row = 0; row < List()->count(); ++row) texts.push_back(List()->item(row)->text());
        return texts;
    }
    // The list's texts and its highlighted row, which must be the current emitter's.
    std::pair<std::vector<QString>, int> ListShown() {
        const int row = List()->currentRow();
        EXPECT_EQ(Panel().CurrentEmitter(), &TheEffect().EmitterAt(static_cast<std::size_t>(row)));
        return {ListTexts(), row};
    }

    SettingsGuard guard_;
    QTemporaryDir dir_;
    FakeClock clock_;
    FakePrompts* prompts_ = nullptr;  // owned by the window
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace orv::test
