#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

namespace {

// One offscreen QApplication for the whole test program, gone before the statics Qt relies on. The
// settings store goes into a temporary folder so no test touches the user's settings.
class QtEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QStandardPaths::setTestModeEnabled(true);
        settingsDir_ = std::make_unique<QTemporaryDir>();
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, settingsDir_->path());
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "orv_gui_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QTemporaryDir> settingsDir_;
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);  // owned by GoogleTest

}  // namespace
