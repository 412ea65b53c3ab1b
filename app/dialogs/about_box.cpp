#include "app/dialogs/about_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orv {

void ShowAboutBox(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("orv::AboutBox", "About"));

    auto* icon = new QLabel(&dialog);
    const QIcon programIcon = QApplication::windowIcon().isNull()
                                  ? dialog.style()->standardIcon(QStyle::SP_MessageBoxInformation)
                                  : QApplication::windowIcon();
    icon->setPixmap(programIcon.pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* text =
        new QLabel(QStringLiteral("orv  Version 1.0\n") +
                       QCoreApplication::translate("orv::AboutBox", "2D パーティクルエフェクトエディタ") +
                       QStringLiteral("\n\nCopyright (C) brantsoft. All rights reserved."),
                   &dialog);
    text->setObjectName(QStringLiteral("aboutText"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);

    auto* body = new QHBoxLayout;
    body->addWidget(icon);
    body->addWidget(text, 1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(body);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    dialog.exec();
}

}  // namespace orv
