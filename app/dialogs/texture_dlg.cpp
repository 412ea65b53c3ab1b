#include "app/dialogs/texture_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <new>

#include "app/dialog_buttons.h"
#include "app/dialogs/texture_preview.h"
#include "app/qt_text.h"
#include "editor/texture_preview_image.h"
#include "image/png_loader.h"
#include "vesk/err_code_exception.h"

namespace orv {
namespace {

QComboBox* MakeSplitList(std::uint32_t selected, QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (std::uint32_t n = 1; n <= kMaxSplit; ++n) list->addItem(QString::number(n));
    list->setCurrentIndex(static_cast<int>(selected) - 1);
    return list;
}

}  // namespace

CTextureDlg::CTextureDlg(const TextureChoices& choices, QWidget* parent)
    : QDialog(parent), choices_(choices) {
    setWindowTitle(tr("テクスチャ"));

    preview_ = new CTexturePreview(this);
    preview_->setFixedSize(256, 256);

    pathEdit_ = new QLineEdit(ToQString(choices_.path), this);
    pathEdit_->setMaxLength(static_cast<int>(kMaxTexturePathLength));
    pathEdit_->setMinimumWidth(320);
    auto* browseButton = new QPushButton(tr("参照..."), this);
    connect(browseButton, &QPushButton::clicked, this, &CTextureDlg::Browse);

    animationRadio_ = new QRadioButton(tr("アニメーション"), this);
    randomRadio_ = new QRadioButton(tr("ランダム"), this);
    (choices_.isAnimation ? animationRadio_ : randomRadio_)->setChecked(true);
    connect(animationRadio_, &QRadioButton::toggled, this, &CTextureDlg::UpdateDurationsEnabled);
    connect(randomRadio_, &QRadioButton::toggled, this, &CTextureDlg::UpdateDurationsEnabled);

    splitXList_ = MakeSplitList(choices_.splitX, this);
    splitYList_ = MakeSplitList(choices_.splitY, this);

    durationsEdit_ = new QLineEdit(ToQString(choices_.durationsText), this);
    durationsEdit_->setMaxLength(static_cast<int>(kMaxDurationsTextLength));

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathEdit_, 1);
    pathRow->addWidget(browseButton);

    auto* playGroup = new QGroupBox(this);
    auto* playLayout = new QHBoxLayout(playGroup);
    playLayout->addWidget(animationRadio_);
    playLayout->addWidget(randomRadio_);
    playLayout->addStretch(1);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(tr("画像ファイル"), this), row++, 0, 1, 2);
    grid->addLayout(pathRow, row++, 0, 1, 2);
    grid->addWidget(playGroup, row++, 0, 1, 2);
    grid->addWidget(new QLabel(tr("横分割数"), this), row, 0);
    grid->addWidget(splitXList_, row++, 1);
    grid->addWidget(new QLabel(tr("縦分割数"), this), row, 0);
    grid->addWidget(splitYList_, row++, 1);
    grid->addWidget(new QLabel(tr("アニメーション時間 ( msec )"), this), row++, 0, 1, 2);
    grid->addWidget(durationsEdit_, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    AddConfirmAndCancel(*this, *buttons);

    auto* body = new QHBoxLayout;
    body->addWidget(preview_, 0, Qt::AlignTop);
    body->addLayout(grid, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);

    // Names by which tests and accessibility tools find the controls.
    preview_->setObjectName(QStringLiteral("preview"));
    pathEdit_->setObjectName(QStringLiteral("imagePath"));
    browseButton->setObjectName(QStringLiteral("browse"));
    animationRadio_->setObjectName(QStringLiteral("animation"));
    randomRadio_->setObjectName(QStringLiteral("random"));
    splitXList_->setObjectName(QStringLiteral("splitX"));
    splitYList_->setObjectName(QStringLiteral("splitY"));
    durationsEdit_->setObjectName(QStringLiteral("durations"));

    UpdateDurationsEnabled();
    LoadPreview(pathEdit_->text());
}

CTextureDlg::~CTextureDlg() = default;

void CTextureDlg::LoadPreview(const QString& path) {
    if (path.isEmpty()) return;
    try {
        const TexturePtr image = LoadPng(ToU16(path));
        if (image && image->colour) preview_->SetPreview(BlendOntoBlack(*image->colour));
    } catch (const vesk::CErrCodeException&) {
        // Not a picture we can read: the previous preview stays, and nothing is said about it.
    } catch (const std::bad_alloc&) {
    }
}

void CTextureDlg::Browse() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("PNGファイル (*.png)"), tr("すべてのファイル (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    LoadPreview(path);
    pathEdit_->setText(path);
}

void CTextureDlg::UpdateDurationsEnabled() {
    durationsEdit_->setEnabled(animationRadio_->isChecked());
}

void CTextureDlg::accept() {
    choices_.durationsText =
        ToU16(durationsEdit_->text().left(static_cast<qsizetype>(kMaxDurationsTextLength)));
    choices_.path = ToU16(pathEdit_->text().left(static_cast<qsizetype>(kMaxTexturePathLength)));
    choices_.isAnimation = animationRadio_->isChecked();
    choices_.splitX = static_cast<std::uint32_t>(splitXList_->currentIndex()) + 1;
    choices_.splitY = static_cast<std::uint32_t>(splitYList_->currentIndex()) + 1;
    QDialog::accept();
}

std::optional<TextureChoices> AskTextureChoices(QWidget* parent, const TextureSettings& texture) {
    CTextureDlg dialog(ChoicesFromTexture(texture), parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choices();
}

}  // namespace orv
