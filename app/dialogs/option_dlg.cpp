#include "app/dialogs/option_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"
#include "app/qt_text.h"

namespace orv {
namespace {

QLineEdit* MakeDimensionEdit(std::uint32_t value, QWidget* parent) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setMaxLength(kMaxDimensionDigits);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

QComboBox* MakeList(const QStringList& items, std::uint32_t selected, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->addItems(items);
    list->setCurrentIndex(selected < static_cast<std::uint32_t>(items.size()) ? static_cast<int>(selected)
                                                                              : 0);
    return list;
}

}  // namespace

COptionDlg::COptionDlg(const OptionChoices& choices, bool sse2Available, QWidget* parent)
    : QDialog(parent), choices_(choices) {
    setWindowTitle(QStringLiteral("設定"));

    widthEdit_ = MakeDimensionEdit(choices_.width, this);
    heightEdit_ = MakeDimensionEdit(choices_.height, this);
    frameRateList_ = MakeList({QStringLiteral("60 FPS"), QStringLiteral("30 FPS"), QStringLiteral("20 FPS"),
                               QStringLiteral("15 FPS")},
                              static_cast<std::uint32_t>(FrameRateListIndex(choices_.framesPerSecond)), this);
    drawTypeList_ = MakeList({QStringLiteral("不透明 software"), QStringLiteral("透明 software")},
                             choices_.drawType, this);
    interpolationList_ = MakeList({QStringLiteral("ニアレストネイバー"), QStringLiteral("バイリニア")},
                                  choices_.interpolateType, this);
    sse2Check_ = new QCheckBox(QStringLiteral("SSE2"), this);
    sse2Check_->setChecked(choices_.sse2);
    sse2Check_->setEnabled(sse2Available);
    threadsSpin_ = new QSpinBox(this);
    threadsSpin_->setRange(0, static_cast<int>(kMaxDrawingThreads));
    threadsSpin_->setValue(static_cast<int>(choices_.drawingThreads));
    // 0 follows the machine: one thread per hardware thread.
    threadsSpin_->setSpecialValueText(QStringLiteral("自動"));

    widthEdit_->setObjectName(QStringLiteral("width"));
    heightEdit_->setObjectName(QStringLiteral("height"));
    frameRateList_->setObjectName(QStringLiteral("frameRate"));
    drawTypeList_->setObjectName(QStringLiteral("drawType"));
    interpolationList_->setObjectName(QStringLiteral("interpolation"));
    sse2Check_->setObjectName(QStringLiteral("sse2"));
    threadsSpin_->setObjectName(QStringLiteral("drawingThreads"));

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral("横"), this));
    sizeRow->addWidget(widthEdit_);
    sizeRow->addWidget(new QLabel(QStringLiteral("縦"), this));
    sizeRow->addWidget(heightEdit_);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("スクリーンサイズ"), this), 0, 0);
    grid->addLayout(sizeRow, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("更新頻度"), this), 1, 0);
    grid->addWidget(frameRateList_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("描画方法"), this), 2, 0);
    grid->addWidget(drawTypeList_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("補間"), this), 3, 0);
    grid->addWidget(interpolationList_, 3, 1);
    grid->addWidget(sse2Check_, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("描画スレッド数"), this), 5, 0);
    grid->addWidget(threadsSpin_, 5, 1);

    auto* buttons = new QDialogButtonBox(this);
    AddConfirmAndCancel(*this, *buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void COptionDlg::accept() {
    choices_.width = ParseDimension(ToU16(widthEdit_->text()), choices_.width);
    choices_.height = ParseDimension(ToU16(heightEdit_->text()), choices_.height);
    choices_.framesPerSecond = FrameRateFromListIndex(frameRateList_->currentIndex());
    choices_.drawType = static_cast<std::uint32_t>(drawTypeList_->currentIndex());
    choices_.interpolateType = static_cast<std::uint32_t>(interpolationList_->currentIndex());
    choices_.sse2 = sse2Check_->isChecked();
    choices_.drawingThreads = static_cast<std::uint32_t>(threadsSpin_->value());
    QDialog::accept();
}

SettingsChange RunSettingsCommand(QWidget* parent, const std::function<void()>& save) {
    Settings& settings = CurrentSettings();
    COptionDlg dialog(OptionChoicesFromSettings(settings), ProcessorHasSse2(), parent);
    if (dialog.exec() != QDialog::Accepted) return {};
    const SettingsChange change = ApplyOptionChoices(settings, dialog.Choices());
    SetActiveSse2(settings.sse2Enable);
    if (change.any && save) save();
    return change;
}

}  // namespace orv
