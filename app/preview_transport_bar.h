#pragma once

#include <QWidget>
#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSlider;
class QToolButton;

namespace orv {

class CParamDlgView;

// The thin bar under the preview: play / pause, one step, restart, speed, the time since the last
// restart (typed, a time to seek to), the seek slider with its length, and the effect's seed. It only shows the
// controller's transport and document and hands every action to the controller.
class CPreviewTransportBar : public QWidget {
    Q_OBJECT

public:
    CPreviewTransportBar(QWidget* parent, CParamDlgView& controller);

    // Space (play / pause), → (one step while paused) and Home (restart) while the keyboard focus
    // is in `scope` or its children: the preview and this bar. The bar's buttons take no focus,
    // and its fields keep the keys they edit with, so no key is taken from the panel or a field.
    void AddShortcuts(QWidget& scope);

    // Shows the transport's state and the seed; a field the user is typing in keeps its text.
    void ShowState();

private:
    void BuildControls();
    void ConnectControls();
    void ApplySeedField();
    int FramesPerSecond() const;

    CParamDlgView& controller_;
    QToolButton* play_;
    QToolButton* step_;
    QToolButton* restart_;
    QComboBox* speed_;
    QCheckBox* fixedSeed_;
    QLineEdit* seed_;
    QSlider* seekSlider_;
    QDoubleSpinBox* seekTime_;
    QDoubleSpinBox* seekLength_;
    std::optional<bool> shownPlaying_;  // what the play button shows
};

}  // namespace orv
