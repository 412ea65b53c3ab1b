#pragma once

#include <QMainWindow>
#include <memory>

#include "app/command_prompts.h"
#include "app/controller_host.h"
#include "editor/preview_tick.h"

class QSplitter;
class QScrollArea;

namespace orv {

class COrvView;
class CParamDlgView;
class CPreviewTransportBar;

// The editor's one window: the preview with its transport bar on the left, the parameter panel
// in a fixed 800-pixel pane on the right. Files dropped on it go to the controller (only the first of a drop).
class CMainFrame : public QMainWindow, public ControllerHost {
    Q_OBJECT

public:
    static constexpr int kPanelWidth = 800;

    // `clock` and `prompts` are handed to the controller (defaults: a monotonic clock, dialogs).
    explicit CMainFrame(MillisecondClock clock = {}, std::unique_ptr<CommandPrompts> prompts = nullptr);
    ~CMainFrame() override;

    CParamDlgView& Controller() { return *panel_; }
    COrvView& View() { return *view_; }
    CPreviewTransportBar& TransportBar() { return *bar_; }
    QWidget& PanelPane();

    // ControllerHost.
    void SetTitleText(const QString& title) override;
    FrameBuffer* PreviewBuffer() override;
    void RedrawPreview() override;
    void ResizePreview() override;
    void RequestClose() override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // With unsaved changes the user is asked first, and may cancel.
    void closeEvent(QCloseEvent* event) override;

private:
    QSplitter* splitter_;
    QWidget* previewPane_;  // the preview with the transport bar under it
    COrvView* view_;
    QScrollArea* pane_;
    CParamDlgView* panel_;
    CPreviewTransportBar* bar_;
};

}  // namespace orv
