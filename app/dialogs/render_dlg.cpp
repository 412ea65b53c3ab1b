#include "app/dialogs/render_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/core_text.h"
#include "app/dialog_buttons.h"
#include "app/qt_text.h"
#include "editor/option_choices.h"
#include "editor/render_input.h"

namespace orv {

namespace {

// The list's order: 標準, 高速, 高圧縮.
constexpr PngCompression kCompressionItems[] = {PngCompression::kDefault, PngCompression::kFast,
                                                PngCompression::kSmall};

// The format list's order, with its labels.
struct FormatItem {
    OutputFormat format;
    const char* label;
};
constexpr FormatItem kFormatItems[] = {
    {OutputFormat::kPngSequence, QT_TRANSLATE_NOOP("orv::CRenderDlg", "PNG連番")},
    {OutputFormat::kSheet, QT_TRANSLATE_NOOP("orv::CRenderDlg", "スプライトシート (PNG + JSON)")},
    {OutputFormat::kAnimatedPng, QT_TRANSLATE_NOOP("orv::CRenderDlg", "アニメーションPNG")},
    {OutputFormat::kAnimatedWebp, QT_TRANSLATE_NOOP("orv::CRenderDlg", "アニメーションWebP")},
    {OutputFormat::kAnimatedGif, QT_TRANSLATE_NOOP("orv::CRenderDlg", "アニメーションGIF")},
};

// Only the formats written as PNG use the PNG compression.
bool UsesPngCompression(OutputFormat format) {
    return format == OutputFormat::kPngSequence || format == OutputFormat::kSheet ||
           format == OutputFormat::kAnimatedPng;
}

}  // namespace

CRenderDlg::CRenderDlg(std::uint32_t framesPerSecond, QWidget* parent, RenderPreferences preferences,
                       std::optional<std::uint64_t> seed)
    : QDialog(parent), framesPerSecond_(framesPerSecond), preferences_(std::move(preferences)), seed_(seed) {
    setWindowTitle(tr("レンダリング"));

    pathEdit_ = new QLineEdit(ToQString(outputBasePath_), this);
    pathEdit_->setMaxLength(static_cast<int>(kMaxOutputPathLength));
    pathEdit_->setMinimumWidth(360);
    auto* browseButton = new QPushButton(tr("参照..."), this);
    connect(browseButton, &QPushButton::clicked, this, &CRenderDlg::Browse);

    secondsEdit_ = new QLineEdit(QString::number(seconds_), this);
    secondsEdit_->setMaxLength(kMaxSecondsDigits);

    frameRateList_ = new QComboBox(this);
    frameRateList_->addItems({QStringLiteral("60 FPS"), QStringLiteral("30 FPS"), QStringLiteral("20 FPS"),
                              QStringLiteral("15 FPS")});
    frameRateList_->setCurrentIndex(FrameRateListIndex(framesPerSecond_));

    formatList_ = new QComboBox(this);
    for (const FormatItem& item : kFormatItems) {
        formatList_->addItem(tr(item.label));
        if (item.format == preferences_.format) formatList_->setCurrentIndex(formatList_->count() - 1);
    }

    compressionList_ = new QComboBox(this);
    compressionList_->addItems({tr("標準"), tr("高速"), tr("高圧縮")});
    for (int i = 0; i < 3; ++i) {
        if (kCompressionItems[i] == preferences_.compression) compressionList_->setCurrentIndex(i);
    }
    threadsEdit_ = new QSpinBox(this);
    threadsEdit_->setRange(0, static_cast<int>(kMaxRenderThreads));
    threadsEdit_->setSpecialValueText(tr("自動"));  // 0: one per hardware thread
    threadsEdit_->setValue(static_cast<int>(preferences_.threads));

    seedCheck_ = new QCheckBox(tr("シード固定"), this);
    seedCheck_->setChecked(seed_.has_value());
    seedEdit_ = new QLineEdit(QString::number(seed_.value_or(0)), this);
    seedEdit_->setMaxLength(20);
    seedEdit_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), seedEdit_));
    seedEdit_->setEnabled(seed_.has_value());
    connect(seedCheck_, &QCheckBox::toggled, seedEdit_, &QWidget::setEnabled);
    startEdit_ = new QLineEdit(ToQString(preferences_.start), this);
    startEdit_->setMaxLength(kMaxStartLength);
    startEdit_->setPlaceholderText(tr("自動"));
    startEdit_->setToolTip(tr("最初のフレームの前に進めておく秒数。空欄なら 0 秒、ループでは最長の生存期間とディレイ"));
    loopCheck_ = new QCheckBox(tr("ループ"), this);
    loopCheck_->setChecked(preferences_.loop);
    loopCheck_->setToolTip(tr("最後のフレームが最初のフレームへ継ぎ目なくつながる連番にします"));

    const auto followFormat = [this](int index) {
        compressionList_->setEnabled(UsesPngCompression(kFormatItems[std::max(index, 0)].format));
    };
    connect(formatList_, &QComboBox::currentIndexChanged, this, followFormat);
    followFormat(formatList_->currentIndex());

    pathEdit_->setObjectName(QStringLiteral("outputPath"));
    formatList_->setObjectName(QStringLiteral("format"));
    seedCheck_->setObjectName(QStringLiteral("fixedSeed"));
    seedEdit_->setObjectName(QStringLiteral("seed"));
    startEdit_->setObjectName(QStringLiteral("start"));
    loopCheck_->setObjectName(QStringLiteral("loop"));
    compressionList_->setObjectName(QStringLiteral("compression"));
    threadsEdit_->setObjectName(QStringLiteral("threads"));
    browseButton->setObjectName(QStringLiteral("browse"));
    secondsEdit_->setObjectName(QStringLiteral("seconds"));
    frameRateList_->setObjectName(QStringLiteral("frameRate"));

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathEdit_, 1);
    pathRow->addWidget(browseButton);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("出力先フォルダとベースファイル名"), this), 0, 0, 1, 2);
    grid->addLayout(pathRow, 1, 0, 1, 2);
    grid->addWidget(new QLabel(tr("出力時間(秒)"), this), 2, 0);
    grid->addWidget(secondsEdit_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("FPS"), this), 3, 0);
    grid->addWidget(frameRateList_, 3, 1);
    grid->addWidget(new QLabel(tr("圧縮"), this), 4, 0);
    grid->addWidget(compressionList_, 4, 1);
    grid->addWidget(new QLabel(tr("スレッド数"), this), 5, 0);
    grid->addWidget(threadsEdit_, 5, 1);
    grid->addWidget(new QLabel(tr("形式"), this), 6, 0);
    grid->addWidget(formatList_, 6, 1);
    grid->addWidget(seedCheck_, 7, 0);
    grid->addWidget(seedEdit_, 7, 1);
    grid->addWidget(new QLabel(tr("開始時間(秒)"), this), 8, 0);
    grid->addWidget(startEdit_, 8, 1);
    grid->addWidget(loopCheck_, 9, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    AddConfirmAndCancel(*this, *buttons, tr("レンダリング"))->setObjectName(QStringLiteral("render"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void CRenderDlg::Browse() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({tr("PNGファイル (*.png)"), tr("すべてのファイル (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (!pathEdit_->text().isEmpty()) dialog.selectFile(pathEdit_->text());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    pathEdit_->setText(dialog.selectedFiles().constFirst());
}

void CRenderDlg::accept() {
    const std::int32_t seconds = ParseRenderSeconds(ToU16(secondsEdit_->text()));
    const std::u16string path = ToU16(pathEdit_->text().left(static_cast<qsizetype>(kMaxOutputPathLength)));
    if (const auto refusal = RenderInputRefusal(seconds, path)) {
        ShowRefusal(CoreText(*refusal));
        return;
    }
    std::optional<std::uint64_t> seed;
    if (seedCheck_->isChecked()) {
        seed = ParseSeedText(ToU16(seedEdit_->text()));
        if (!seed) {
            ShowRefusal(tr("シードは 0 から 18446744073709551615 までの整数で入力してください。"));
            return;
        }
    }
    const std::u16string start = ToU16(startEdit_->text().trimmed());
    const std::optional<double> startSeconds = start.empty() ? std::nullopt : ParseStartText(start);
    if (!start.empty() && !startSeconds) {
        ShowRefusal(tr("開始時間は 0 以上の秒数 (2 や 1.5 など) で入力してください。"));
        return;
    }
    seconds_ = seconds;
    outputBasePath_ = path;
    seed_ = seed;
    startSeconds_ = startSeconds;
    preferences_.start = start;
    preferences_.loop = loopCheck_->isChecked();
    framesPerSecond_ = FrameRateFromListIndex(frameRateList_->currentIndex());
    preferences_.compression = kCompressionItems[std::max(compressionList_->currentIndex(), 0)];
    preferences_.threads = static_cast<unsigned>(threadsEdit_->value());
    preferences_.format = kFormatItems[std::max(formatList_->currentIndex(), 0)].format;
    QDialog::accept();
}

void CRenderDlg::ShowRefusal(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString(), text, QMessageBox::Ok, this);
    box.exec();
}

}  // namespace orv
