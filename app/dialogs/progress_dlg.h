#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/effect.h"
#include "export/render_job.h"
#include "export/render_progress.h"
#include "export/render_rate.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace orv {

// How a render job ended.
struct RenderOutcome {
    std::optional<std::string> failure;  // UTF-8 text from the job; nothing when it succeeded
    std::uint64_t framesWritten = 0;
    bool started = true;  // false when the worker thread could not be started
};

// "進行状況": runs a render job behind a modal progress bar. The job's calls arrive on its own
// thread and are forwarded into the UI thread as queued calls, so the worker never touches a
// widget and never waits for the UI. Cancel, Esc and the close box only ask the job to stop;
// the dialog closes when the job says it finished.
class CProgressDlg : public QDialog, public RenderProgress {
    Q_OBJECT
public:
    explicit CProgressDlg(QWidget* parent = nullptr);
    ~CProgressDlg() override;

    // Shows the dialog modally while the job renders `effect`; returns once the job has ended and
    // its thread has been joined.
    RenderOutcome Run(Effect& effect, const RenderJobConfig& config);

    // RenderProgress, called from the job's thread.
    void SetRange(int minimum, int maximum) override;
    void SetPosition(int position) override;
    void Finish() override;

signals:
    // The progress bar moved (UI thread).
    void positionChanged(int position);

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void StartJob();
    void RequestStop();
    bool JobRunning() const { return job_ && !finished_; }

    void ShowCount();

    QProgressBar* bar_ = nullptr;
    QLabel* count_ = nullptr;  // frames written, of how many, and the time left
    RenderRate rate_{0};       // UI thread only
    QPushButton* cancelButton_ = nullptr;
    std::unique_ptr<CRenderThread> job_;
    bool finished_ = false;
    bool started_ = true;
};

}  // namespace orv
