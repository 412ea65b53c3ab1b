#include "tests/app/app_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

#include "image/texture.h"
#include "render/frame_composition.h"

namespace orv::test {

namespace {

QTemporaryDir& SettingsDir() {
    static QTemporaryDir dir;
    return dir;
}

std::unique_ptr<QApplication>& Application() {
    static std::unique_ptr<QApplication> app;
    return app;
}

// The application goes when the tests are done, before the exit handlers tear down the statics
// Qt relies on.
class ApplicationEnvironment final : public ::testing::Environment {
public:
    void TearDown() override { Application().reset(); }
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);  // owned by GoogleTest

}  // namespace

void EnsureApp() {
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    if (Application()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsDir().path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, SettingsDir().path());
    Application() = std::make_unique<QApplication>(argc, argv);
}

QString SettingsFolder() {
    return SettingsDir().path();
}

std::optional<QString> FakePrompts::NextPath() {
    ++answers_->pathQuestions;
    if (answers_->paths.empty()) return std::nullopt;
    std::optional<QString> path = answers_->paths.front();
    answers_->paths.erase(answers_->paths.begin());
    return path;
}

std::optional<QString> FakePrompts::AskOpenPath(QWidget*, const QString&, const QString&) {
    return NextPath();
}

std::optional<QString> FakePrompts::AskSavePath(QWidget*, const QString& proposed, const QString&,
                                                const QString&) {
    answers_->proposedSaves.push_back(proposed);
    return NextPath();
}

std::optional<QString> FakePrompts::AskText(QWidget*, const QString&, const QString& text) {
    answers_->askedTexts.push_back(text);
    if (answers_->texts.empty()) return std::nullopt;
    std::optional<QString> answer = answers_->texts.front();
    answers_->texts.erase(answers_->texts.begin());
    return answer;
}

void FakePrompts::ShowMessage(QWidget*, const QString& caption, const QString&) {
    answers_->messageCaptions.push_back(caption);
}

void GiveSolidTexture(Emitter& emitter, std::uint32_t size) {
    auto texture = std::make_unique<Texture>();
    texture->colour.emplace(size, size);
    ClearFrame(*texture->colour, 0xFFFFFFFFu, false);
    emitter.texture.SetImage(std::move(texture));
}

std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

QString ToQ(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orv::test
