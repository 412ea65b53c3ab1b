#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <utility>

#include "app/qt_text.h"
#include "tests/support/settings_guard.h"

namespace orv::test {

// The control named `name` inside `parent`; fails the test when it is missing.
template <class Widget>
Widget* Child(QWidget& parent, const char* name) {
    auto* child = parent.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Types texts into the line edits of `dialog`, by their names.
inline void Fill(QWidget& dialog, std::initializer_list<std::pair<const char*, QString>> fields) {
    for (const auto& [name, text] : fields) Child<QLineEdit>(dialog, name)->setText(text);
}

// Runs `action` on the modal dialog as soon as its loop has started.
inline void WhenModalShown(std::function<void(QWidget&)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(*modal);
    });
}
inline const auto Confirm = [](QWidget& dialog) { static_cast<QDialog&>(dialog).accept(); };

}  // namespace orv::test
