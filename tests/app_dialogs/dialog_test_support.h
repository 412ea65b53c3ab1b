#pragma once

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "engine/settings.h"

namespace orv::test {

// The control named `name` inside `parent`; fails the test when it is missing.
template <class Widget>
Widget* Child(QWidget& parent, const char* name) {
    auto* child = parent.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Runs `action` on the modal dialog as soon as its loop has started.
inline void WhenModalShown(std::function<void(QWidget&)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(*modal);
    });
}

// Keeps the process-wide settings of one test from reaching the next.
class SettingsGuard {
public:
    SettingsGuard() : saved_(CurrentSettings()), savedActive_(ActiveSse2()) {}
    ~SettingsGuard() {
        CurrentSettings() = saved_;
        SetActiveSse2(savedActive_);
    }
    SettingsGuard(const SettingsGuard&) = delete;
    SettingsGuard& operator=(const SettingsGuard&) = delete;

private:
    Settings saved_;
    bool savedActive_;
};

}  // namespace orv::test
