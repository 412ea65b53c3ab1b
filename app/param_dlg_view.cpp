#include "app/param_dlg_view.h"

#include <QAction>
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
#include "app/core_text.h"
#include "app/emitter_list_widget.h"
#include "app/number_input_dlg.h"
#include "app/popup_menus.h"
#include "app/qt_text.h"
#include "app/value_label.h"
#include "editor/command_ids.h"
#include "editor/number_text.h"
#include "editor/panel_rules.h"
#include "editor/selection_commands.h"
#include "editor/settings_rules.h"
#include "editor/step_names.h"
#include "editor/window_title.h"
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
      transport_(clock ? std::move(clock) : MonotonicClock()) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &CParamDlgView::OnTick);

    // The document starts with its first emitter, "emitter 01", at the panel's defaults.
    ShowDocument();
    for (std::size_t row = 0; row < kParamCount; ++row) RewriteLabel(row);
    transport_.Ticker().RestartTiming();
    ConnectControls();
    AddHistoryShortcuts();
    StartTimer();
}

CParamDlgView::~CParamDlgView() {
    timer_.stop();
}

void CParamDlgView::ConnectControls() {
    for (std::size_t row = 0; row < kParamCount; ++row) {
        QSlider* slider = controls_.rows[row].slider;
        connect(slider, &QSlider::valueChanged, this, [this, row] { OnSliderMoved(row); });
        // A drag is one step from press to release, however it ran.
        connect(slider, &QSlider::sliderPressed, this, [this] { document_.EndMerging(); });
        connect(slider, &QSlider::sliderReleased, this, [this] { document_.EndMerging(); });
        connect(controls_.rows[row].label, &ValueLabel::clicked, this,
                [this, row] { OnValueLabelClicked(row); });
    }
    connect(controls_.typeCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) return;
        ShowType(static_cast<std::uint32_t>(index));
        if (document_.SetType(static_cast<std::uint32_t>(index))) AfterEdit();
    });
    connect(controls_.blendCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && document_.SetBlendingMode(static_cast<std::uint32_t>(index))) AfterEdit();
    });
    connect(controls_.sortCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && document_.SetSortType(static_cast<std::uint32_t>(index))) AfterEdit();
    });
    const std::pair<QCheckBox*, EmitterFlag> flags[] = {
        {controls_.enableColor, EmitterFlag::kEnableColor},
        {controls_.colorConstant, EmitterFlag::kColorConstant},
        {controls_.textureDirection, EmitterFlag::kTextureDirection}};
    for (const auto& [box, flag] : flags) {
        connect(box, &QCheckBox::clicked, this, [this, flag = flag](bool checked) {
            if (document_.SetFlag(flag, checked)) AfterEdit();
            UpdateEnables();
        });
    }
    connect(controls_.list, &QListWidget::itemSelectionChanged, this, &CParamDlgView::OnListSelectionChanged);
    connect(controls_.list, &EmitterListWidget::menuRequested, this, &CParamDlgView::ShowListMenu);
    connect(controls_.menuButton, &QPushButton::clicked, this, &CParamDlgView::ShowMenuButtonMenu);
    connect(controls_.textureButton, &QPushButton::clicked, this, &CParamDlgView::EditTexture);
    connect(controls_.resetButton, &QPushButton::clicked, this, &CParamDlgView::ResetPanel);
}

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, wherever the focus is in the window.
void CParamDlgView::AddHistoryShortcuts() {
    const std::pair<int, QList<QKeySequence>> shortcuts[] = {
        {kCmdUndo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}},
        {kCmdRedo, {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}}};
    for (const auto& [id, keys] : shortcuts) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, id = id] { ExecuteCommand(id); });
        addAction(action);
    }
}

// ---- Showing the document ------------------------------------------------------------------

void CParamDlgView::ShowDocument() {
    RefreshList();
    ShowEmitter(document_.Current());
    ShowBackgroundRows();
    AfterEdit();
}

void CParamDlgView::AfterEdit() {
    UpdateTitle();
    repaintPending_ = true;
    FollowSeed();
}

void CParamDlgView::UpdateTitle() {
    host_.SetTitleText(ToQString(WindowTitle(document_.FilePath(), maxFrameRate_, document_.IsModified())));
}

void CParamDlgView::ShowBackgroundRows() {
    for (std::size_t row = kBgR; row <= kBgA; ++row)
        SetSliderByRaw(row, document_.GetEffect().BackgroundRaw(row));
}

// ---- Preview timer -------------------------------------------------------------------------

void CParamDlgView::StartTimer() {
    timer_.start(static_cast<int>(TimerPeriodMs(CurrentSettings().fsp)));
}

void CParamDlgView::StopTimer() {
    timer_.stop();
}

TickInputs CParamDlgView::PreviewInputs() const {
    TickInputs inputs;
    inputs.preview = host_.PreviewBuffer();
    inputs.backgroundImage = BackgroundImage();
    inputs.currentFile = document_.FilePath();
    inputs.settings = TakeSettingsSnapshot();
    return inputs;
}

void CParamDlgView::OnTick() {
    timer_.stop();
    // Paused, the frame is drawn again only when an edit changed what it shows.
    const TickResult tick = transport_.Tick(document_.GetEffect(), PreviewInputs(), repaintPending_);
    if (tick.maxFrameRate) {
        maxFrameRate_ = tick.maxFrameRate;
        UpdateTitle();
    }
    // Whatever changed what is shown (the background, an emitter that no longer draws) is
    // repainted once the tick has drawn it, even when no emitter draws.
    if (tick.repaint || (tick.stepped && repaintPending_)) {
        repaintPending_ = false;
        host_.RedrawPreview();
    }
    if (tick.stepped) emit transportChanged();
    timer_.start(static_cast<int>(transport_.Ticker().NextPeriodMs(tick, CurrentSettings().fsp)));
}

// ---- Rows ----------------------------------------------------------------------------------

std::int32_t CParamDlgView::SliderRaw(std::size_t row) const {
    return controls_.rows[row].slider->value() - Param(row).zeroOffset;
}

void CParamDlgView::RewriteLabel(std::size_t row) {
    controls_.rows[row].label->setText(ParamLabelText(row, SliderRaw(row)));
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

std::optional<std::int32_t> CParamDlgView::RawForValue(std::size_t row, double value) const {
    const std::int64_t position = SliderPositionForValue(row, value);
    const QSlider* slider = controls_.rows[row].slider;
    if (position < slider->minimum() || position > slider->maximum()) return std::nullopt;
    return static_cast<std::int32_t>(position - Param(row).zeroOffset);
}

bool CParamDlgView::SetSliderByValue(std::size_t row, double value) {
    const std::optional<std::int32_t> raw = RawForValue(row, value);
    return raw && SetSliderByRaw(row, *raw);
}

void CParamDlgView::SetEmitterPosition(std::int32_t x, std::int32_t y) {
    if (document_.SetRows(step_name::kPosition, {{kOffsetX, x}, {kOffsetY, y}})) ShowDocument();
}

void CParamDlgView::ApplySelection(const QString& name, const SelectionCommandEffect& effect) {
    std::vector<std::pair<std::size_t, std::int32_t>> rows;
    if (effect.position) rows = {{kOffsetX, effect.position->x}, {kOffsetY, effect.position->y}};
    for (const SelectionRowValue& row : effect.rows) {
        if (const auto raw = RawForValue(row.row, row.value)) rows.emplace_back(row.row, *raw);
    }
    if (document_.SetRows(ToU16(name), rows)) ShowDocument();
}

void CParamDlgView::OnSliderMoved(std::size_t row) {
    RewriteLabel(row);
    if (document_.SetRow(row, SliderRaw(row), EditFlow::kContinuing)) AfterEdit();
}

std::unique_ptr<CNumberInputDlg> CParamDlgView::MakeNumberInputDlg(std::size_t row) {
    const ParamDescriptor& param = Param(row);
    const QSlider* slider = controls_.rows[row].slider;
    return std::make_unique<CNumberInputDlg>(this, ToQString(FormatRawNumber(SliderRaw(row), param.decimals)),
                                             slider->minimum() - param.zeroOffset,
                                             slider->maximum() - param.zeroOffset, param.decimals);
}

// A typed value is a step of its own.
void CParamDlgView::ApplyNumberInput(std::size_t row, std::int32_t raw) {
    if (SetSliderByRaw(row, raw) && document_.SetRow(row, raw, EditFlow::kSingle)) AfterEdit();
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

void CParamDlgView::ResetPanel() {
    document_.ResetCurrent();
    ShowDocument();
    transport_.Ticker().RestartTiming();
}

// ---- Emitter list --------------------------------------------------------------------------

// The highlighted item is always the emitter the panel edits.
void CParamDlgView::RefreshList() {
    QListWidget* list = controls_.list;
    const QSignalBlocker blocker(list);
    const Effect& effect = document_.GetEffect();
    list->clear();
    for (std::size_t index = 0; index < effect.Count(); ++index) {
        list->addItem(ToQString(effect.NameAt(index)));
    }
    list->setCurrentRow(static_cast<int>(document_.CurrentIndex()));
}

std::optional<std::size_t> CParamDlgView::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = controls_.list->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const int row = controls_.list->row(selected.constFirst());
    if (row < 0) return std::nullopt;
    return static_cast<std::size_t>(row);
}

// A selection Qt cleared (a click beside the items, Ctrl+click) is put back on the current emitter.
void CParamDlgView::OnListSelectionChanged() {
    const std::optional<std::size_t> index = SelectedIndex();
    if (index && document_.SelectEmitter(*index)) {
        ShowEmitter(document_.Current());
        return;
    }
    RefreshList();
}

std::unique_ptr<QMenu> CParamDlgView::MakeListMenu() {
    return orv::MakeListMenu(this, SelectedIndex().has_value(), controls_.list->count());
}

std::unique_ptr<QMenu> CParamDlgView::MakeMainMenu() {
    UndoEntries entries;
    if (const auto name = document_.UndoName()) entries.undo = CoreText(*name);
    if (const auto name = document_.RedoName()) entries.redo = CoreText(*name);
    return orv::MakeMainMenu(this, entries);
}

void CParamDlgView::ShowListMenu(const QPoint& globalPosition) {
    const std::unique_ptr<QMenu> menu = MakeListMenu();
    const int id = ExecMenu(*menu, globalPosition);
    if (id != 0) ExecuteCommand(id);
}

void CParamDlgView::ShowMenuButtonMenu() {
    const std::unique_ptr<QMenu> menu = MakeMainMenu();
    const int id = ExecMenu(*menu, QCursor::pos());
    if (id != 0) ExecuteCommand(id);
}

}  // namespace orv
