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
#include "editor/editor_document.h"
#include "editor/preview_tick.h"
#include "editor/preview_transport.h"

class QMenu;

namespace orv {

class CNumberInputDlg;
class ControllerHost;
struct SelectionCommandEffect;

// The parameter panel and the editor's controller: it owns the document, shows the current
// emitter on its controls and turns every change of a control into an edit of the document,
// drives the preview timer and executes the commands of the panel's menus. Rows 56 to 59 (the
// background colour) belong to the effect.
class CParamDlgView : public QWidget {
    Q_OBJECT

public:
    // `clock` defaults to a monotonic millisecond clock, `prompts` to modal dialogs.
    CParamDlgView(QWidget* parent, ControllerHost& host, MillisecondClock clock = {},
                  std::unique_ptr<CommandPrompts> prompts = nullptr);
    ~CParamDlgView() override;

    EditorDocument& Document() { return document_; }
    Effect& GetEffect() { return document_.GetEffect(); }
    Emitter* CurrentEmitter() { return &document_.Current(); }
    const std::u16string& CurrentFilePath() const { return document_.FilePath(); }
    const ParamPanelControls& Controls() const { return controls_; }
    const FrameBuffer* BackgroundImage() const { return document_.BackgroundImage(); }

    // One preview tick: step and draw every emitter (paused: redraw after an edit), present,
    // re-arm the timer.
    void OnTick();
    bool TimerActive() const { return timer_.isActive(); }
    int TimerInterval() const { return timer_.interval(); }

    // ---- The preview's transport (the bar under the preview) ------------------------------------
    const PreviewTransport& Transport() const { return transport_; }
    void SetPlaying(bool playing);
    void TogglePlaying();
    // Paused: one step of 1 / FSP seconds.
    void StepFrame();
    // Every emitter restarted (the seed first, if any), the time back to 0.
    void RestartPreview();
    void SetPreviewSpeed(std::size_t index);
    // Restarts, simulates up to `seconds` without drawing and shows that frame, paused.
    void SeekPreview(double seconds);
    void SetSeekLength(double seconds);
    // The effect's seed, an edit of the document; none lets the random draws run on.
    void SetSeed(std::optional<std::uint64_t> seed);

    // Moves row's slider to raw + zero offset and rewrites its label, when that lies within the
    // slider's range; false (nothing changes) otherwise.
    bool SetSliderByRaw(std::size_t row, std::int32_t raw);
    // The same for a value in the row's units (pixels, seconds, degrees).
    bool SetSliderByValue(std::size_t row, double value);
    // The preview's double-click: the current emitter takes the offsets, one step; the offset
    // sliders follow where they can.
    void SetEmitterPosition(std::int32_t x, std::int32_t y);
    // A command of the preview's selection menu, one step named `name`: each row takes its value
    // when its slider can show it.
    void ApplySelection(const QString& name, const SelectionCommandEffect& effect);

    // A row's slider moved by mouse, keyboard or wheel: label and emitter. One drag, or one run
    // of steps on the same row, is one step of the history.
    void OnSliderMoved(std::size_t row);

    // The number dialog a click on row's value label opens, and applying its result.
    std::unique_ptr<CNumberInputDlg> MakeNumberInputDlg(std::size_t row);
    void ApplyNumberInput(std::size_t row, std::int32_t raw);

    // Shows an emitter's values, choices and flags on the panel (not the background rows).
    void ShowEmitter(const Emitter& emitter);
    // The "リセット" button.
    void ResetPanel();

    // Executes a command of menus 205 and 206 (and undo / redo from the keyboard).
    void ExecuteCommand(int id);
    // Menus 205 and 206 as they would show now.
    std::unique_ptr<QMenu> MakeMainMenu();
    std::unique_ptr<QMenu> MakeListMenu();

    // With unsaved changes, asks whether to save them first: true when the effect may be
    // replaced or closed (saved, or the changes discarded), false when the user cancelled or the
    // save failed.
    bool ConfirmDiscard();

    // Opens an effect file as the Open command does after its dialog (the effect is replaced).
    void OpenEffectPath(const std::u16string& path);
    // A file dropped on the window: ".orv", ".plist", ".pex" and ".p" open as an effect, anything
    // else becomes the current emitter's texture.
    void OpenDroppedFile(const std::u16string& path);

signals:
    // The preview's time or the transport's state changed, or the document (and with it the seed).
    void transportChanged();

private:
    void ConnectControls();
    void AddHistoryShortcuts();
    // Shows the whole document: list, current emitter, background rows, title; repaints soon.
    void ShowDocument();
    // After an edit the panel already shows: title and repaint.
    void AfterEdit();
    void UpdateTitle();
    void ShowBackgroundRows();
    void StartTimer();
    void StopTimer();
    TickInputs PreviewInputs() const;
    // Presents what a transport operation drew, and tells the bar.
    void ShowTransportResult(const TickResult& result);
    // The effect was replaced: its time starts at 0, playing.
    void StartNewTime();
    // The emitters were stepped behind the transport's back (a render): PreviewTransport::Replay.
    void ReplayPreview();
    // A new seed shows at once: PreviewTransport::FollowSeed.
    void FollowSeed();
    // The raw value of a value in the row's units, when the row's slider can show it.
    std::optional<std::int32_t> RawForValue(std::size_t row, double value) const;
    std::int32_t SliderRaw(std::size_t row) const;
    void RewriteLabel(std::size_t row);
    void ShowType(std::uint32_t type);
    void UpdateEnables();
    void SetChecked(class QCheckBox* box, bool checked);
    void SetComboIndex(class QComboBox* combo, int index);
    void RefreshList();
    std::optional<std::size_t> SelectedIndex() const;
    void OnListSelectionChanged();
    void OnValueLabelClicked(std::size_t row);
    void ShowMenuButtonMenu();
    void ShowListMenu(const QPoint& globalPosition);
    void RefillPreviewBackground();

    // The commands.
    void NewEffect();
    void OpenEffect(bool merge);
    void LoadFile(const std::u16string& path, bool merge);
    // Each true when the effect was written.
    bool Save();
    bool SaveAs();
    bool ShowSaveFailure(const std::optional<EditorMessage>& failure);
    void RememberFolder(const std::u16string& path);
    void Export();
    void Render();
    void SetBackgroundImage();
    void ReleaseBackgroundImage();
    void Settings();
    void EditTexture();
    void AddEmitter();
    void RenameEmitter();
    void DeleteEmitter();
    void MoveEmitter(MoveEdit::Direction direction);
    void UndoOrRedo(bool undo);

    ControllerHost& host_;
    std::unique_ptr<CommandPrompts> prompts_;
    ParamPanelControls controls_;
    EditorDocument document_;
    std::u16string lastFolder_;  // of the last file opened or saved, for Save As
    std::optional<std::uint32_t> maxFrameRate_;  // for the title, once measured
    bool repaintPending_ = false;  // something shown changed: repaint after the next tick
    PreviewTransport transport_;
    QTimer timer_;
};

}  // namespace orv
