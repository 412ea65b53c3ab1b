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
#include <algorithm>

#include "app/dialog_buttons.h"
#include "app/qt_text.h"
#include "app/settings_store.h"

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

COptionDlg::COptionDlg(const OptionChoices& choices, LanguageChoice language, bool sse2Available,
                       QWidget* parent)
    : QDialog(parent), choices_(choices), language_(language) {
    setWindowTitle(tr("設定"));

    widthEdit_ = MakeDimensionEdit(choices_.width, this);
    heightEdit_ = MakeDimensionEdit(choices_.height, this);
    frameRateList_ = MakeList({QStringLiteral("60 FPS"), QStringLiteral("30 FPS"), QStringLiteral("20 FPS"),
                               QStringLiteral("15 FPS")},
                              static_cast<std::uint32_t>(FrameRateListIndex(choices_.framesPerSecond)), this);
    drawTypeList_ = MakeList({tr("不透明 software"), tr("透明 software")}, choices_.drawType, this);
    interpolationList_ =
        MakeList({tr("ニアレストネイバー"), tr("バイリニア")}, choices_.interpolateType, this);
    sse2Check_ = new QCheckBox(QStringLiteral("SSE2"), this);
    sse2Check_->setChecked(choices_.sse2);
    sse2Check_->setEnabled(sse2Available);
    threadsSpin_ = new QSpinBox(this);
    threadsSpin_->setRange(0, static_cast<int>(kMaxDrawingThreads));
    threadsSpin_->setValue(static_cast<int>(choices_.drawingThreads));
    // 0 follows the machine: one thread per hardware thread.
    threadsSpin_->setSpecialValueText(tr("自動"));

    widthEdit_->setObjectName(QStringLiteral("width"));
    heightEdit_->setObjectName(QStringLiteral("height"));
    frameRateList_->setObjectName(QStringLiteral("frameRate"));
    drawTypeList_->setObjectName(QStringLiteral("drawType"));
    interpolationList_->setObjectName(QStringLiteral("interpolation"));
    sse2Check_->setObjectName(QStringLiteral("sse2"));
    threadsSpin_->setObjectName(QStringLiteral("drawingThreads"));
    // Each language's name in its own words, so whoever cannot read the current one finds theirs.
    languageList_ = MakeList({tr("自動"), QStringLiteral("日本語"), QStringLiteral("English")},
                             static_cast<std::uint32_t>(language_), this);
    languageList_->setObjectName(QStringLiteral("language"));
    auto* languageNote = new QLabel(tr("言語の変更は次回の起動から有効になります。"), this);
    languageNote->setWordWrap(true);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(tr("横"), this));
    sizeRow->addWidget(widthEdit_);
    sizeRow->addWidget(new QLabel(tr("縦"), this));
    sizeRow->addWidget(heightEdit_);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("スクリーンサイズ"), this), 0, 0);
    grid->addLayout(sizeRow, 0, 1);
    grid->addWidget(new QLabel(tr("更新頻度"), this), 1, 0);
    grid->addWidget(frameRateList_, 1, 1);
    grid->addWidget(new QLabel(tr("描画方法"), this), 2, 0);
    grid->addWidget(drawTypeList_, 2, 1);
    grid->addWidget(new QLabel(tr("補間"), this), 3, 0);
    grid->addWidget(interpolationList_, 3, 1);
    grid->addWidget(sse2Check_, 4, 1);
    grid->addWidget(new QLabel(tr("描画スレッド数"), this), 5, 0);
    grid->addWidget(threadsSpin_, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("言語 / Language"), this), 6, 0);
    grid->addWidget(languageList_, 6, 1);
    grid->addWidget(languageNote, 7, 0, 1, 2);

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
    language_ = static_cast<LanguageChoice>(std::max(languageList_->currentIndex(), 0));
    QDialog::accept();
}

SettingsChange RunSettingsCommand(QWidget* parent, const std::function<void()>& save) {
    Settings& settings = CurrentSettings();
    const LanguageChoice language = LoadLanguageChoice();
    COptionDlg dialog(OptionChoicesFromSettings(settings), language, ProcessorHasSse2(), parent);
    if (dialog.exec() != QDialog::Accepted) return {};
    if (dialog.Language() != language) SaveLanguageChoice(dialog.Language());
    const SettingsChange change = ApplyOptionChoices(settings, dialog.Choices());
    SetActiveSse2(settings.sse2Enable);
    if (change.any && save) save();
    return change;
}

}  // namespace orv
