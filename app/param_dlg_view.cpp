#include "app/param_dlg_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <utility>

#include "app/controller_host.h"
#include "app/emitter_list_widget.h"
#include "app/number_input_dlg.h"
#include "app/number_text.h"
#include "app/panel_rules.h"
#include "app/popup_menus.h"
#include "app/qt_text.h"
#include "app/settings_rules.h"
#include "app/value_label.h"
#include "engine/settings.h"
#include "engine/simulation.h"

namespace orv {

namespace {

MillisecondClock MonotonicClock() {
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    return [started] { return static_cast<std::uint32_t>(started->elapsed()); };
}

}  // namespace

CParamDlgView::CParamDlgView(QWidget* parent, ControllerHost& host, MillisecondClock clock,
                             std::unique_ptr<CommandPrompts> prompts)
    : QWidget(parent),
      host_(host),
      prompts_(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>()),
      controls_(BuildParamPanel(*this)),
      ticker_(clock ? std::move(clock) : MonotonicClock()) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &CParamDlgView::OnTick);

    // The effect starts with its first emitter, "emitter 01"; every row takes the panel's value.
    RefreshList(0);
    current_ = &effect_.EmitterAt(0);
    ClearEmitter(*current_);
    for (std::size_t row = 0; row < kParamCount; ++row) {
        RewriteLabel(row);
        WriteRow(row, SliderRaw(row));
    }
    ticker_.RestartTiming();
    ApplyPanelToCurrent();
    ConnectControls();
    StartTimer();
}

CParamDlgView::~CParamDlgView() {
    timer_.stop();
}

const FrameBuffer* CParamDlgView::BackgroundImage() const {
    if (!backgroundImage_ || !backgroundImage_->colour) return nullptr;
    return &*backgroundImage_->colour;
}

void CParamDlgView::ConnectControls() {
    for (std::size_t row = 0; row < kParamCount; ++row) {
        connect(controls_.rows[row].slider, &QSlider::valueChanged, this,
                [this, row] { OnSliderMoved(row); });
        connect(controls_.rows[row].label, &ValueLabel::clicked, this,
                [this, row] { OnValueLabelClicked(row); });
    }
    connect(controls_.typeCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) return;
        ShowType(static_cast<std::uint32_t>(index));
        if (current_ != nullptr) current_->params.type = static_cast<std::uint32_t>(index);
    });
    connect(controls_.blendCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && current_ != nullptr)
            current_->params.blendingMode = static_cast<std::uint32_t>(index);
    });
    connect(controls_.sortCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && current_ != nullptr)
            SetSortType(current_->params, static_cast<std::uint32_t>(index));
    });
    connect(controls_.enableColor, &QCheckBox::clicked, this, [this](bool checked) {
        if (current_ != nullptr) current_->params.enableColor = checked;
        UpdateEnables();
    });
    connect(controls_.colorConstant, &QCheckBox::clicked, this, [this](bool checked) {
        if (current_ != nullptr) current_->params.colorConstant = checked;
        UpdateEnables();
    });
    connect(controls_.textureDirection, &QCheckBox::clicked, this, [this](bool checked) {
        if (current_ != nullptr) current_->params.textureDirectionBefore = checked;
        UpdateEnables();
    });
    connect(controls_.list, &QListWidget::itemSelectionChanged, this, &CParamDlgView::OnListSelectionChanged);
    connect(controls_.list, &EmitterListWidget::menuRequested, this, &CParamDlgView::ShowListMenu);
    connect(controls_.menuButton, &QPushButton::clicked, this, &CParamDlgView::ShowMenuButtonMenu);
    connect(controls_.textureButton, &QPushButton::clicked, this, &CParamDlgView::EditTexture);
    connect(controls_.resetButton, &QPushButton::clicked, this, &CParamDlgView::ResetPanel);
}

// ---- Preview timer -------------------------------------------------------------------------

void CParamDlgView::StartTimer() {
    timer_.start(static_cast<int>(TimerPeriodMs(CurrentSettings().fsp)));
}

void CParamDlgView::StopTimer() {
    timer_.stop();
}

void CParamDlgView::OnTick() {
    timer_.stop();
    TickInputs inputs;
    inputs.preview = host_.PreviewBuffer();
    inputs.backgroundImage = BackgroundImage();
    inputs.currentFile = currentFile_;
    inputs.settings = TakeSettingsSnapshot();
    const TickResult tick = ticker_.Tick(effect_, inputs);
    if (tick.title) host_.SetTitleText(ToQString(*tick.title));
    if (tick.repaint) host_.RedrawPreview();
    timer_.start(static_cast<int>(ticker_.NextPeriodMs(tick, CurrentSettings().fsp)));
}

// ---- Rows ----------------------------------------------------------------------------------

std::int32_t CParamDlgView::SliderRaw(std::size_t row) const {
    return controls_.rows[row].slider->value() - Param(row).zeroOffset;
}

void CParamDlgView::RewriteLabel(std::size_t row) {
    controls_.rows[row].label->setText(QString::fromStdString(FormatParamLabel(row, SliderRaw(row))));
}

// Rows of an emitter go to the current emitter, the background rows to the effect.
void CParamDlgView::WriteRow(std::size_t row, std::int32_t raw) {
    if (row >= kEmitterParamCount) {
        effect_.SetBackgroundRaw(row, raw);
    } else if (current_ != nullptr) {
        SetParam(*current_, row, raw);
    }
}

bool CParamDlgView::SetSliderByRaw(std::size_t row, std::int32_t raw) {
    QSlider* slider = controls_.rows[row].slider;
    const std::int64_t position = std::int64_t{raw} + Param(row).zeroOffset;
    if (position < slider->minimum() || position > slider->maximum()) return false;
    const QSignalBlocker blocker(slider);
    slider->setValue(static_cast<int>(position));
    RewriteLabel(row);
    return true;
}

bool CParamDlgView::SetSliderByValue(std::size_t row, double value) {
    const std::int64_t position = SliderPositionForValue(row, value);
    QSlider* slider = controls_.rows[row].slider;
    if (position < slider->minimum() || position > slider->maximum()) return false;
    return SetSliderByRaw(row, static_cast<std::int32_t>(position - Param(row).zeroOffset));
}

void CParamDlgView::SetEmitterPosition(std::int32_t x, std::int32_t y) {
    SetSliderByRaw(kOffsetX, x);
    SetSliderByRaw(kOffsetY, y);
    if (current_ == nullptr) return;
    SetParam(*current_, kOffsetX, x);
    SetParam(*current_, kOffsetY, y);
}

void CParamDlgView::SetRowFromSelection(std::size_t row, double value) {
    SetSliderByValue(row, value);
    WriteRow(row, SliderRaw(row));
}

void CParamDlgView::OnSliderMoved(std::size_t row) {
    RewriteLabel(row);
    WriteRow(row, SliderRaw(row));
    // A new duration takes effect once the emitter's particles have died: the listener re-arms it.
    if (row == kDuration && current_ != nullptr) current_->runtime.remainingDuration = 0;
}

std::unique_ptr<CNumberInputDlg> CParamDlgView::MakeNumberInputDlg(std::size_t row) {
    const ParamDescriptor& param = Param(row);
    const QSlider* slider = controls_.rows[row].slider;
    return std::make_unique<CNumberInputDlg>(this, ToQString(FormatRawNumber(SliderRaw(row), param.decimals)),
                                             slider->minimum() - param.zeroOffset,
                                             slider->maximum() - param.zeroOffset, param.decimals);
}

void CParamDlgView::ApplyNumberInput(std::size_t row, std::int32_t raw) {
    if (SetSliderByRaw(row, raw)) OnSliderMoved(row);
}

void CParamDlgView::OnValueLabelClicked(std::size_t row) {
    const std::unique_ptr<CNumberInputDlg> dialog = MakeNumberInputDlg(row);
    if (dialog->exec() == QDialog::Accepted) ApplyNumberInput(row, dialog->Result());
}

// ---- Choices, flags, groups ----------------------------------------------------------------

void CParamDlgView::ShowType(std::uint32_t type) {
    const bool radial = type == kRadial;
    controls_.gravityGroup->setVisible(!radial);
    controls_.radialGroup->setVisible(radial);
    SetComboIndex(controls_.typeCombo, radial ? 1 : 0);
}

void CParamDlgView::UpdateEnables() {
    const PanelFlags flags{controls_.enableColor->isChecked(), controls_.colorConstant->isChecked(),
                           controls_.textureDirection->isChecked()};
    for (std::size_t row = 0; row < kParamCount; ++row) {
        const bool enabled = RowEnabled(row, flags);
        controls_.rows[row].label->setEnabled(enabled);
        controls_.rows[row].slider->setEnabled(enabled);
    }
}

void CParamDlgView::SetChecked(QCheckBox* box, bool checked) {
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
}

void CParamDlgView::SetComboIndex(QComboBox* combo, int index) {
    const QSignalBlocker blocker(combo);
    if (index >= 0 && index < combo->count()) combo->setCurrentIndex(index);
}

void CParamDlgView::ShowEmitter(const Emitter& emitter) {
    for (std::size_t row = 0; row < kEmitterParamCount; ++row) SetSliderByRaw(row, emitter.params.raw[row]);
    ShowType(emitter.params.type);
    SetComboIndex(controls_.blendCombo, static_cast<int>(emitter.params.blendingMode));
    SetComboIndex(controls_.sortCombo, static_cast<int>(emitter.params.sortType));
    SetChecked(controls_.enableColor, emitter.params.enableColor);
    SetChecked(controls_.colorConstant, emitter.params.colorConstant);
    SetChecked(controls_.textureDirection, emitter.params.textureDirectionBefore);
    UpdateEnables();
}

void CParamDlgView::ApplyPanelToCurrent() {
    if (current_ == nullptr) return;
    Emitter& emitter = *current_;
    ResetEmitterToDefaults(emitter);
    emitter.params.type = static_cast<std::uint32_t>(std::max(0, controls_.typeCombo->currentIndex()));
    emitter.params.blendingMode =
        static_cast<std::uint32_t>(std::max(0, controls_.blendCombo->currentIndex()));
    SetSortType(emitter.params, static_cast<std::uint32_t>(std::max(0, controls_.sortCombo->currentIndex())));
    for (std::size_t row = 0; row < kParamCount; ++row) WriteRow(row, SliderRaw(row));
    emitter.params.enableColor = controls_.enableColor->isChecked();
    emitter.params.colorConstant = controls_.colorConstant->isChecked();
    emitter.params.textureDirectionBefore = controls_.textureDirection->isChecked();
    RestartEmitter(emitter);
    RearmEmitter(emitter, 0);
}

void CParamDlgView::ResetPanel() {
    for (std::size_t row = 0; row < kParamCount; ++row) {
        QSlider* slider = controls_.rows[row].slider;
        const QSignalBlocker blocker(slider);
        slider->setValue(Param(row).defaultPosition);
    }
    SetComboIndex(controls_.typeCombo, 0);
    SetChecked(controls_.enableColor, true);
    SetChecked(controls_.colorConstant, false);
    SetChecked(controls_.textureDirection, false);
    UpdateEnables();
    ShowType(kGravity);
    SetComboIndex(controls_.blendCombo, 0);
    SetComboIndex(controls_.sortCombo, 0);
    ApplyPanelToCurrent();
    for (std::size_t row = 0; row < kParamCount; ++row) {
        RewriteLabel(row);
        WriteRow(row, SliderRaw(row));
    }
    ticker_.RestartTiming();
    if (current_ != nullptr) RearmEmitter(*current_, 0);
}

// ---- Emitter list --------------------------------------------------------------------------

void CParamDlgView::RefreshList(std::optional<std::size_t> selection) {
    QListWidget* list = controls_.list;
    const QSignalBlocker blocker(list);
    list->clear();
    for (std::size_t index = 0; index < effect_.Count(); ++index) {
        list->addItem(ToQString(effect_.NameAt(index)));
    }
    if (selection && *selection < effect_.Count()) {
        list->setCurrentRow(static_cast<int>(*selection));
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

std::optional<std::size_t> CParamDlgView::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = controls_.list->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const int row = controls_.list->row(selected.constFirst());
    if (row < 0) return std::nullopt;
    return static_cast<std::size_t>(row);
}

std::size_t CParamDlgView::CurrentIndex() const {
    if (current_ == nullptr) return 0;
    return effect_.IndexOf(*current_).value_or(0);
}

void CParamDlgView::MakeCurrent(std::size_t index) {
    current_ = &effect_.EmitterAt(index);
    ShowEmitter(*current_);
}

void CParamDlgView::OnListSelectionChanged() {
    const std::optional<std::size_t> index = SelectedIndex();
    if (index && *index < effect_.Count()) MakeCurrent(*index);
}

std::unique_ptr<QMenu> CParamDlgView::MakeListMenu() {
    return orv::MakeListMenu(this, SelectedIndex().has_value(), controls_.list->count());
}

void CParamDlgView::ShowListMenu(const QPoint& globalPosition) {
    const std::unique_ptr<QMenu> menu = MakeListMenu();
    const int id = ExecMenu(*menu, globalPosition);
    if (id != 0) ExecuteCommand(id);
}

void CParamDlgView::ShowMenuButtonMenu() {
    const std::unique_ptr<QMenu> menu = MakeMainMenu(this);
    const int id = ExecMenu(*menu, QCursor::pos());
    if (id != 0) ExecuteCommand(id);
}

}  // namespace orv
