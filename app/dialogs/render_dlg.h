#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/dialogs/render_preferences.h"
#include "editor/editor_document.h"
#include "engine/effect.h"
#include "export/render_job.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace orv {

// "レンダリング": where the render goes and in which format, how many seconds it lasts and its
// frame rate; the effect's seed ("シード固定"), the start offset ("開始時間") and whether it is a
// seamless loop ("ループ").
class CRenderDlg : public QDialog {
    Q_OBJECT
public:
    // `seed`: the effect's, which the dialog shows and hands back, changed or not.
    CRenderDlg(std::uint32_t framesPerSecond, QWidget* parent = nullptr, RenderPreferences preferences = {},
               std::optional<std::uint64_t> seed = std::nullopt);

    // The confirmed choices (seconds >= 1, path not empty).
    std::int32_t Seconds() const { return seconds_; }
    std::uint32_t FramesPerSecond() const { return framesPerSecond_; }
    const std::u16string& OutputBasePath() const { return outputBasePath_; }
    const RenderPreferences& Preferences() const { return preferences_; }
    const std::optional<std::uint64_t>& Seed() const { return seed_; }
    // The start offset; nothing when the field was left empty.
    const std::optional<double>& StartSeconds() const { return startSeconds_; }

public slots:
    void accept() override;

protected:
    // Tells the user why the input cannot be confirmed; the dialog stays open.
    virtual void ShowRefusal(const QString& text);

private:
    void Browse();

    std::int32_t seconds_ = 10;
    std::uint32_t framesPerSecond_ = 60;
    std::u16string outputBasePath_;
    RenderPreferences preferences_;
    std::optional<std::uint64_t> seed_;
    std::optional<double> startSeconds_;
    QLineEdit* pathEdit_ = nullptr;
    QComboBox* formatList_ = nullptr;
    QComboBox* compressionList_ = nullptr;
    QSpinBox* threadsEdit_ = nullptr;
    QLineEdit* secondsEdit_ = nullptr;
    QComboBox* frameRateList_ = nullptr;
    QCheckBox* seedCheck_ = nullptr;
    QLineEdit* seedEdit_ = nullptr;
    QLineEdit* startEdit_ = nullptr;
    QCheckBox* loopCheck_ = nullptr;
};

// Renders `effect` as the confirmed render dialog asked: the output folder is made, the progress
// dialog runs the job, and a failure (folder or frames) is reported once through `report`.
void RunRenderJob(QWidget* parent, Effect& effect, const RenderJobConfig& config,
                  const std::function<void(const QString&)>& report);

// The render command: the render dialog starting at the FSP setting and the effect's seed, then
// the job on the document's effect; a changed seed is an edit of the document. The caller stops
// the preview timer before and restarts it after, whatever the outcome.
void RunRenderCommand(QWidget* parent, EditorDocument& document);

}  // namespace orv
