#include "app/dialogs/progress_dlg.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CProgressDlg::CProgressDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("進行状況"));

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progress"));
    bar_->setRange(0, 10);
    bar_->setValue(0);
    bar_->setMinimumWidth(320);

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("frameCount"));

    auto* buttons = new QDialogButtonBox(this);
    cancelButton_ = buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    cancelButton_->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &CProgressDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addWidget(count_);
    layout->addWidget(buttons);
}

// Should the dialog go while a job still runs, the job must end before the object it reports
// to does.
CProgressDlg::~CProgressDlg() {
    job_.reset();
}

RenderOutcome CProgressDlg::Run(Effect& effect, const RenderJobConfig& config) {
    finished_ = false;
    started_ = true;
    cancelButton_->setEnabled(true);
    rate_ = RenderRate(std::uint64_t{config.seconds} * config.framesPerSecond);
    ShowCount();
    job_ = std::make_unique<CRenderThread>(effect, *this, config);
    // Started from inside the modal loop, so the job's first messages find the dialog shown.
    QMetaObject::invokeMethod(
        this, [this] { StartJob(); }, Qt::QueuedConnection);
    exec();

    // The job has said it finished; its thread may still be returning.
    job_->Stop();
    RenderOutcome outcome;
    outcome.failure = job_->Failure();
    outcome.framesWritten = job_->FramesWritten();
    outcome.started = started_;
    job_.reset();
    return outcome;
}

void CProgressDlg::StartJob() {
    if (!job_ || !isVisible()) return;  // the modal loop already ended without the job
    // -1 means no worker exists; any other result has a worker that will report its end.
    if (job_->Start() == -1) {
        started_ = false;
        finished_ = true;
        done(QDialog::Rejected);
        return;
    }
    // Starting clears the stop request, so a cancel that came before the start is repeated.
    if (!cancelButton_->isEnabled()) job_->RequestStop();
}

// The job's calls only post work to the UI thread: it never waits for the dialog, so nothing
// deadlocks when the dialog is closing while the job finishes. Calls still queued when the
// dialog is destroyed are dropped with it.
void CProgressDlg::SetRange(int minimum, int maximum) {
    QMetaObject::invokeMethod(
        this, [this, minimum, maximum] { bar_->setRange(minimum, maximum); }, Qt::QueuedConnection);
}

void CProgressDlg::SetPosition(int position) {
    QMetaObject::invokeMethod(
        this,
        [this, position] {
            bar_->setValue(position);
            rate_.PositionReported();
            ShowCount();
            emit positionChanged(position);
        },
        Qt::QueuedConnection);
}

void CProgressDlg::Finish() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            finished_ = true;
            done(QDialog::Accepted);
        },
        Qt::QueuedConnection);
}

void CProgressDlg::ShowCount() {
    count_->setText(tr("%1 / %2 フレーム　残り %3")
                        .arg(rate_.FramesDone())
                        .arg(rate_.TotalFrames())
                        .arg(QString::fromStdString(FormatTimeLeft(rate_.SecondsLeft()))));
}

// Cancel, Esc and the close box all land here: the job is asked to stop after its current
// frame, and the dialog stays until the job says it ended.
void CProgressDlg::reject() {
    if (JobRunning()) {
        RequestStop();
    } else {
        QDialog::reject();
    }
}

void CProgressDlg::closeEvent(QCloseEvent* event) {
    if (JobRunning()) {
        event->ignore();
        RequestStop();
    } else {
        QDialog::closeEvent(event);
    }
}

// The frame being written may take a while; a greyed button shows the request was taken.
void CProgressDlg::RequestStop() {
    job_->RequestStop();
    cancelButton_->setEnabled(false);
}

}  // namespace orv
