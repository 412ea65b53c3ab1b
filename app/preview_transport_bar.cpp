#include "app/preview_transport_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "app/param_dlg_view.h"
#include "app/qt_text.h"
#include "editor/number_text.h"
#include "editor/preview_transport.h"
#include "editor/settings_rules.h"
#include "engine/settings.h"

namespace orv {

namespace {

constexpr int kSeekDecimals = 2;
constexpr double kMinSeekLength = 0.1;

QToolButton* MakeButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoRaise(true);
    // A click leaves the keyboard focus where it was, so Space goes on toggling the preview.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QDoubleSpinBox* MakeSecondsBox(QWidget* parent, const char* name, int decimals, const QString& tip) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(decimals);
    box->setSuffix(QObject::tr(" 秒"));
    box->setToolTip(tip);
    // Seeking on every keystroke would simulate for each digit typed.
    box->setKeyboardTracking(false);
    return box;
}

}  // namespace

CPreviewTransportBar::CPreviewTransportBar(QWidget* parent, CParamDlgView& controller)
    : QWidget(parent), controller_(controller) {
    BuildControls();
    ConnectControls();
    ShowState();
}

void CPreviewTransportBar::BuildControls() {
    play_ = MakeButton(this, "play", QStyle::SP_MediaPause, tr("一時停止 (Space)"));
    step_ = MakeButton(this, "step", QStyle::SP_MediaSkipForward, tr("1コマ進める (→)"));
    restart_ = MakeButton(this, "restart", QStyle::SP_MediaSkipBackward, tr("最初から (Home)"));

    speed_ = new QComboBox(this);
    speed_->setObjectName(QStringLiteral("speed"));
    const std::array<QString, kPreviewSpeeds.size()> speeds{tr("¼ ×"), tr("½ ×"), tr("1 ×"), tr("2 ×"), tr("4 ×")};
    for (const QString& label : speeds) speed_->addItem(label);
    speed_->setToolTip(tr("再生速度"));
    speed_->setFocusPolicy(Qt::NoFocus);


    fixedSeed_ = new QCheckBox(tr("シード固定"), this);
    fixedSeed_->setObjectName(QStringLiteral("fixedSeed"));
    fixedSeed_->setToolTip(tr("最初から始めるたびに同じ乱数で、毎回同じ粒子を出す"));
    fixedSeed_->setFocusPolicy(Qt::NoFocus);
    seed_ = new QLineEdit(QStringLiteral("0"), this);
    seed_->setObjectName(QStringLiteral("seed"));
    seed_->setToolTip(tr("シード (0 ～ 18446744073709551615)"));
    seed_->setMaxLength(24);
    seed_->setFixedWidth(seed_->fontMetrics().horizontalAdvance(QStringLiteral("18446744073709551615")) + 12);

    seekSlider_ = new QSlider(Qt::Horizontal, this);
    seekSlider_->setObjectName(QStringLiteral("seekSlider"));
    seekSlider_->setToolTip(tr("シーク"));
    seekSlider_->setFocusPolicy(Qt::NoFocus);
    // The time since the last restart, and where to seek to when a time is typed.
    seekTime_ = MakeSecondsBox(this, "seekTime", kSeekDecimals,
                               tr("最初から始めてからの時間。入力するとその時間へ移動して一時停止"));
    seekTime_->setRange(0, kMaxSeekLength);
    seekLength_ = MakeSecondsBox(this, "seekLength", 1, tr("シークの長さ"));
    seekLength_->setRange(kMinSeekLength, kMaxSeekLength);
    seekLength_->setValue(controller_.Transport().SeekLength());

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : {static_cast<QWidget*>(play_), static_cast<QWidget*>(step_),
                            static_cast<QWidget*>(restart_), static_cast<QWidget*>(speed_),
                            static_cast<QWidget*>(seekTime_)}) {
        controls->addWidget(widget);
    }
    controls->addStretch(1);
    controls->addWidget(fixedSeed_);
    controls->addWidget(seed_);

    auto* seek = new QHBoxLayout;
    seek->setContentsMargins(0, 0, 0, 0);
    seek->addWidget(seekSlider_, 1);
    seek->addWidget(new QLabel(tr("長さ"), this));
    seek->addWidget(seekLength_);

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    rows->addLayout(controls);
    rows->addLayout(seek);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CPreviewTransportBar::ConnectControls() {
    connect(&controller_, &CParamDlgView::transportChanged, this, &CPreviewTransportBar::ShowState);
    connect(play_, &QToolButton::clicked, &controller_, &CParamDlgView::TogglePlaying);
    connect(step_, &QToolButton::clicked, &controller_, &CParamDlgView::StepFrame);
    connect(restart_, &QToolButton::clicked, &controller_, &CParamDlgView::RestartPreview);
    connect(speed_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) controller_.SetPreviewSpeed(static_cast<std::size_t>(index));
    });
    connect(seekSlider_, &QSlider::valueChanged, this,
            [this](int frame) { controller_.SeekPreview(static_cast<double>(frame) / FramesPerSecond()); });
    connect(seekTime_, &QDoubleSpinBox::valueChanged, this, [this](double seconds) {
        controller_.SeekPreview(seconds);
        // The field keeps the focus, yet shows the time reached (held to the length, whole steps).
        const QSignalBlocker blocker(seekTime_);
        seekTime_->setValue(controller_.Transport().Time());
    });
    connect(seekLength_, &QDoubleSpinBox::valueChanged, &controller_, &CParamDlgView::SetSeekLength);
    connect(fixedSeed_, &QCheckBox::clicked, this, [this](bool checked) {
        if (!checked) {
            controller_.SetSeed(std::nullopt);
            return;
        }
        // An unreadable field fixes seed 0 and shows it.
        controller_.SetSeed(ParseSeedInput(ToU16(seed_->text())).value_or(0));
        seed_->setText(QString::number(controller_.GetEffect().Seed().value_or(0)));
    });
    connect(seed_, &QLineEdit::editingFinished, this, &CPreviewTransportBar::ApplySeedField);
}

// A typed seed fixes it; text that is no seed is replaced by the seed in force.
void CPreviewTransportBar::ApplySeedField() {
    if (const std::optional<std::uint64_t> seed = ParseSeedInput(ToU16(seed_->text()))) {
        controller_.SetSeed(*seed);
    }
    if (const std::optional<std::uint64_t> seed = controller_.GetEffect().Seed()) {
        seed_->setText(QString::number(*seed));
    } else if (!ParseSeedInput(ToU16(seed_->text()))) {
        seed_->setText(QStringLiteral("0"));
    }
}

int CPreviewTransportBar::FramesPerSecond() const {
    return static_cast<int>(PreviewFps(CurrentSettings().fsp));
}

void CPreviewTransportBar::AddShortcuts(QWidget& scope) {
    const std::array<std::pair<Qt::Key, void (CParamDlgView::*)()>, 3> keys{
        {{Qt::Key_Space, &CParamDlgView::TogglePlaying},
         {Qt::Key_Right, &CParamDlgView::StepFrame},
         {Qt::Key_Home, &CParamDlgView::RestartPreview}}};
    for (const auto& [key, action] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), &scope);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, &controller_, action);
    }
}

void CPreviewTransportBar::ShowState() {
    const PreviewTransport& transport = controller_.Transport();
    const bool playing = transport.Playing();
    if (shownPlaying_ != playing) {
        shownPlaying_ = playing;
        play_->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
        play_->setToolTip(playing ? tr("一時停止 (Space)") : tr("再生 (Space)"));
        play_->setAccessibleName(play_->toolTip());
        step_->setEnabled(!playing);
    }
    {
        const QSignalBlocker blocker(speed_);
        speed_->setCurrentIndex(static_cast<int>(transport.SpeedIndex()));
    }
    if (!seekTime_->hasFocus()) {
        const QSignalBlocker blocker(seekTime_);
        seekTime_->setValue(transport.Time());
    }

    const int fps = FramesPerSecond();
    const int frames = static_cast<int>(StepsIn(transport.SeekLength(), static_cast<std::uint32_t>(fps)));
    {
        const QSignalBlocker blocker(seekSlider_);
        seekSlider_->setRange(0, frames);
        seekSlider_->setPageStep(std::max(1, fps));
        if (!seekSlider_->isSliderDown()) {
            seekSlider_->setValue(static_cast<int>(
                std::min<std::uint64_t>(StepsIn(transport.Time(), static_cast<std::uint32_t>(fps)), frames)));
        }
    }

    const std::optional<std::uint64_t> seed = controller_.GetEffect().Seed();
    fixedSeed_->setChecked(seed.has_value());
    if (seed && !seed_->hasFocus() && seed_->text() != QString::number(*seed)) seed_->setText(QString::number(*seed));
}

}  // namespace orv
