#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>

class QPainter;

#include "editor/selection_commands.h"
#include "render/frame_buffer.h"

namespace orv {

class CParamDlgView;

// The preview: presents the preview buffer centred on mid grey, scrolls over it when the window
// is smaller than the frame, measures a rectangle with the right button for the selection menu
// and moves the current emitter on a double-click.
class COrvView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit COrvView(QWidget* parent);

    // The controller that receives positions and selection values (not owned).
    void SetController(CParamDlgView* controller) { controller_ = controller; }

    // The buffer the controller draws every frame into; null when it could not be created.
    FrameBuffer* Preview() { return preview_.Empty() ? nullptr : &preview_; }

    // The frame size changed: the buffer takes the new size, cleared, and so does the extent.
    void ResizePreview();

    // Executes a command of menu 209 on the last selection.
    void ExecuteSelectionCommand(int id);
    void SetSelection(PreviewPoint start, PreviewPoint end);
    PreviewPoint SelectionStart() const { return start_; }
    PreviewPoint SelectionEnd() const { return end_; }

    // A point of the viewport in centred coordinates.
    PreviewPoint Centred(const QPoint& viewportPoint) const;

    // The presentation surface (the screen's size): what the last paint showed.
    const QImage& Surface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void UpdateScrollExtent();
    void CentreScrolling();
    void Present();
    static void DrawSelection(QPainter& painter, QPoint a, QPoint b);

    QImage surface_;
    FrameBuffer surfaceView_;  // the surface's pixels, for the renderer's copy
    FrameBuffer preview_;
    PreviewPoint start_;
    PreviewPoint end_;
    bool dragging_ = false;
    bool shown_ = false;
    CParamDlgView* controller_ = nullptr;
};

}  // namespace orv
