#include "app/main_frame.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollArea>
#include <QSplitter>
#include <QUrl>
#include <QVBoxLayout>

#include "app/orv_view.h"
#include "app/param_dlg_view.h"
#include "app/preview_transport_bar.h"
#include "app/qt_text.h"

namespace orv {

CMainFrame::CMainFrame(MillisecondClock clock, std::unique_ptr<CommandPrompts> prompts)
    : splitter_(new QSplitter(Qt::Horizontal, this)),
      previewPane_(new QWidget(splitter_)),
      view_(new COrvView(previewPane_)),
      pane_(new QScrollArea(splitter_)),
      panel_(new CParamDlgView(pane_, *this, std::move(clock), std::move(prompts))),
      bar_(new CPreviewTransportBar(previewPane_, *panel_)) {
    setWindowTitle(QStringLiteral("orv"));
    setAcceptDrops(true);

    // The panel keeps its 800 pixels; a resize of the window changes only the preview's width.
    // The pane scrolls only when the window is too low to show the whole panel.
    pane_->setFrameShape(QFrame::NoFrame);
    pane_->setWidgetResizable(true);
    pane_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane_->setWidget(panel_);
    pane_->setFixedWidth(kPanelWidth);

    auto* previewColumn = new QVBoxLayout(previewPane_);
    previewColumn->setContentsMargins(0, 0, 0, 0);
    previewColumn->setSpacing(0);
    previewColumn->addWidget(view_, 1);
    previewColumn->addWidget(bar_);
    bar_->AddShortcuts(*previewPane_);

    splitter_->addWidget(previewPane_);
    splitter_->addWidget(pane_);
    splitter_->setHandleWidth(0);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    splitter_->handle(1)->setEnabled(false);
    setCentralWidget(splitter_);

    view_->SetController(panel_);
    setGeometry(0, 0, 1366, 768);
}

CMainFrame::~CMainFrame() = default;

QWidget& CMainFrame::PanelPane() {
    return *pane_;
}

// Window managers draw a line feed in a title as a box or a gap, so the frame-rate title's
// trailing one is not shown.
void CMainFrame::SetTitleText(const QString& title) {
    QString shown = title;
    while (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    setWindowTitle(shown);
}

FrameBuffer* CMainFrame::PreviewBuffer() {
    return view_->Preview();
}

void CMainFrame::RedrawPreview() {
    view_->viewport()->repaint();
}

void CMainFrame::ResizePreview() {
    view_->ResizePreview();
}

void CMainFrame::RequestClose() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (panel_->ConfirmDiscard()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) return;
    panel_->OpenDroppedFile(ToU16(urls.constFirst().toLocalFile()));
    event->acceptProposedAction();
}

}  // namespace orv
