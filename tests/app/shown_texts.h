#pragma once

#include <algorithm>
#include <iterator>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QStringList>
#include <QWidget>

namespace orv::test {

// Every text that `root` and the widgets inside it show: captions, labels, button and group
// texts, list items, special values, tool tips and accessible names.
inline QStringList ShownTexts(QWidget& root) {
    QStringList texts{root.windowTitle()};
    QList<QWidget*> widgets = root.findChildren<QWidget*>();
    widgets.prepend(&root);
    for (QWidget* widget : widgets) {
        texts << widget->toolTip() << widget->accessibleName();
        if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(widget)) texts << group->title();
        if (auto* spin = qobject_cast<QSpinBox*>(widget)) texts << spin->specialValueText();
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int item = 0; item < combo->count(); ++item) texts << combo->itemText(item);
        }
    }
    texts.removeAll(QString());
    return texts;
}

inline QStringList MenuTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) texts << action->text();
    }
    return texts;
}

// Whether a text holds kana, kanji or full-width forms: a Japanese text left untranslated.
inline bool HasJapanese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
    });
}

// The texts among `texts` that are still Japanese.
inline QStringList JapaneseAmong(const QStringList& texts) {
    QStringList japanese;
    std::copy_if(texts.begin(), texts.end(), std::back_inserter(japanese), HasJapanese);
    return japanese;
}

}  // namespace orv::test
