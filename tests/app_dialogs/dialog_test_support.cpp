#include "tests/app_dialogs/dialog_test_support.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

namespace {

// One QApplication for the whole test program, gone before the statics are. The settings store
// goes into a temporary folder so no test touches the user's settings.
class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        settingsDir_ = std::make_unique<QTemporaryDir>();
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, settingsDir_->path());
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[32] = "test_app_dialogs";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QTemporaryDir> settingsDir_;
    std::unique_ptr<QApplication> app_;
};

// gtest takes ownership of the environment.
[[maybe_unused]] testing::Environment* const g_qtEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
