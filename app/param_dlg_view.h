#pragma once

#include <QTimer>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/command_prompts.h"
#include "app/param_panel_layout.h"
#include "app/preview_tick.h"
#include "engine/effect.h"
#include "image/texture.h"

class QMenu;

namespace orv {

class CNumberInputDlg;
class ControllerHost;
struct LoadOutcome;

// The parameter panel and the editor's controller: it owns the effect, shows the current emitter
// on its controls and writes every change into it at once, drives the preview timer and executes
// the commands of the panel's menus. Rows 56 to 59 (the background colour) belong to the effect.
class CParamDlgView : public QWidget {
    Q_OBJECT

public:
    // `clock` defaults to a monotonic millisecond clock, `prompts` to modal dialogs.
    CParamDlgView(QWidget* parent, ControllerHost& host, MillisecondClock clock = {},
                  std::unique_ptr<CommandPrompts> prompts = nullptr);
    ~CParamDlgView() override;

    Effect& GetEffect() { return effect_; }
    Emitter* CurrentEmitter() const { return current_; }
    const std::u16string& CurrentFilePath() const { return currentFile_; }
    const ParamPanelControls& Controls() const { return controls_; }
    const FrameBuffer* BackgroundImage() const;

    // One preview tick: step and draw every emitter, present, re-arm the timer.
    void OnTick();
    bool TimerActive() const { return timer_.isActive(); }
    int TimerInterval() const { return timer_.interval(); }

    // Moves row's slider to raw + zero offset and rewrites its label, when that lies within the
    // slider's range; false (nothing changes) otherwise.
    bool SetSliderByRaw(std::size_t row, std::int32_t raw);
    // The same for a value in the row's units (pixels, seconds, degrees).
    bool SetSliderByValue(std::size_t row, double value);
    // Moves the offset sliders where they can follow; the current emitter takes the offsets
    // whether or not they can.
    void SetEmitterPosition(std::int32_t x, std::int32_t y);
    // A row set from the preview's selection: the slider follows when it can, and the current
    // emitter takes the slider's value.
    void SetRowFromSelection(std::size_t row, double value);

    // A row's slider moved (by mouse, keyboard or a typed number): label, emitter, and for the
    // duration row a stop of emission until the emitter's particles died.
    void OnSliderMoved(std::size_t row);

    // The number dialog a click on row's value label opens, and applying its result.
    std::unique_ptr<CNumberInputDlg> MakeNumberInputDlg(std::size_t row);
    void ApplyNumberInput(std::size_t row, std::int32_t raw);

    // Shows an emitter's values, choices and flags on the panel (not the background rows).
    void ShowEmitter(const Emitter& emitter);
    // The current emitter takes the panel's values from its defaults, restarted as endless.
    void ApplyPanelToCurrent();
    // The "リセット" button.
    void ResetPanel();

    // Executes a command of menus 205 and 206.
    void ExecuteCommand(int id);
    // Menu 206 as it would show now.
    std::unique_ptr<QMenu> MakeListMenu();

    // Opens an effect file as the Open command does after its dialog (the effect is replaced).
    void OpenEffectPath(const std::u16string& path);
    // A file dropped on the window: ".orv", ".plist", ".pex" and ".p" open as an effect, anything
    // else becomes the current emitter's texture.
    void OpenDroppedFile(const std::u16string& path);

private:
    void ConnectControls();
    void StartTimer();
    void StopTimer();
    void WriteRow(std::size_t row, std::int32_t raw);
    std::int32_t SliderRaw(std::size_t row) const;
    void RewriteLabel(std::size_t row);
    void ShowType(std::uint32_t type);
    void UpdateEnables();
    void SetChecked(class QCheckBox* box, bool checked);
    void SetComboIndex(class QComboBox* combo, int index);
    void RefreshList(std::optional<std::size_t> selection);
    std::optional<std::size_t> SelectedIndex() const;
    std::size_t CurrentIndex() const;
    void MakeCurrent(std::size_t index);
    void OnListSelectionChanged();
    void OnValueLabelClicked(std::size_t row);
    void ShowMenuButtonMenu();
    void ShowListMenu(const QPoint& globalPosition);
    void RefillPreviewBackground();

    // The commands.
    void NewEffect();
    void OpenEffect(bool merge);
    void LoadFile(const std::u16string& path, bool merge);
    void ShowLoaded(const LoadOutcome& outcome);
    void Save();
    void SaveAs();
    void Export();
    void Render();
    void SetBackgroundImage();
    void ReleaseBackgroundImage();
    void Settings();
    void EditTexture();
    void AddEmitter();
    void RenameEmitter();
    void DeleteEmitter();
    void MoveEmitter(bool up);

    ControllerHost& host_;
    std::unique_ptr<CommandPrompts> prompts_;
    ParamPanelControls controls_;
    Effect effect_;
    Emitter* current_ = nullptr;  // always one of the effect's emitters
    std::u16string currentFile_;
    TexturePtr backgroundImage_;
    PreviewTicker ticker_;
    QTimer timer_;
};

}  // namespace orv
