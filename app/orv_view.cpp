#include "app/orv_view.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <memory>

#include "app/param_dlg_view.h"
#include "app/popup_menus.h"
#include "engine/settings.h"
#include "render/frame_composition.h"

namespace orv {

namespace {

constexpr std::uint32_t kSurround = 0xFF808080;
constexpr int kSelectionPenWidth = 3;

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : QSize(1366, 768);
}

}  // namespace

COrvView::COrvView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);

    // One surface the size of the screen, so resizing the window never reallocates it.
    const QSize size = ScreenSize();
    surface_ = QImage(size, QImage::Format_RGB32);
    if (!surface_.isNull()) {
        surface_.fill(0u);
        surfaceView_.View(reinterpret_cast<std::uint32_t*>(surface_.bits()),
                          static_cast<std::uint32_t>(size.width()), static_cast<std::uint32_t>(size.height()),
                          surface_.bytesPerLine() / 4);
    }
    ResizePreview();
}

void COrvView::ResizePreview() {
    const Settings& settings = CurrentSettings();
    if (preview_.Width() != settings.screenWidth || preview_.Height() != settings.screenHeight ||
        preview_.Empty()) {
        preview_.Create(settings.screenWidth, settings.screenHeight);
    }
    if (!preview_.Empty()) ClearFrame(preview_, 0u, ActiveSse2());
    UpdateScrollExtent();
    CentreScrolling();
    viewport()->update();
}

// The frame's centre, where emitters sit, in the middle of the pane.
void COrvView::CentreScrolling() {
    horizontalScrollBar()->setValue(horizontalScrollBar()->maximum() / 2);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum() / 2);
}

void COrvView::UpdateScrollExtent() {
    const Settings& settings = CurrentSettings();
    const QSize client = viewport()->size();
    const int width = static_cast<int>(settings.screenWidth);
    const int height = static_cast<int>(settings.screenHeight);
    horizontalScrollBar()->setRange(0, std::max(0, width - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, height - client.height()));
    horizontalScrollBar()->setSingleStep(std::min(width, 10));
    verticalScrollBar()->setSingleStep(std::min(height, 10));
    horizontalScrollBar()->setPageStep(std::min(width, 100));
    verticalScrollBar()->setPageStep(std::min(height, 100));
}

PreviewPoint COrvView::Centred(const QPoint& viewportPoint) const {
    const Settings& settings = CurrentSettings();
    return CentredPoint(viewportPoint.x(), viewportPoint.y(), horizontalScrollBar()->value(),
                        verticalScrollBar()->value(), viewport()->width(), viewport()->height(),
                        settings.screenWidth, settings.screenHeight);
}

void COrvView::paintEvent(QPaintEvent*) {
    Present();
}

void COrvView::Present() {
    if (surface_.isNull()) return;
    const Settings& settings = CurrentSettings();
    const QSize client = viewport()->size();
    const int areaWidth = std::max(static_cast<int>(settings.screenWidth), client.width());
    const int areaHeight = std::max(static_cast<int>(settings.screenHeight), client.height());
    const QRect visible(horizontalScrollBar()->value(), verticalScrollBar()->value(), client.width(),
                        client.height());
    const QRect surfaceArea(0, 0, std::min(surface_.width(), areaWidth),
                            std::min(surface_.height(), areaHeight));
    const QRect shown = visible & surfaceArea;

    QPainter surfacePainter(&surface_);
    surfacePainter.fillRect(shown, QColor::fromRgb(kSurround));

    if (!preview_.Empty() && !shown.isEmpty()) {
        const int left = areaWidth / 2 - static_cast<int>(preview_.Width()) / 2;
        const int top = areaHeight / 2 - static_cast<int>(preview_.Height()) / 2;
        const QRect placed =
            QRect(left, top, static_cast<int>(preview_.Width()), static_cast<int>(preview_.Height())) & shown;
        if (!placed.isEmpty()) {
            const PixelRect target{placed.left(), placed.top(), placed.right() + 1, placed.bottom() + 1};
            const PixelRect source{placed.left() - left, placed.top() - top, placed.right() + 1 - left,
                                   placed.bottom() + 1 - top};
            CopyRect(surfaceView_, target, preview_, source, ActiveSse2());
        }
    }

    if (dragging_) {
        const QPoint centre(areaWidth / 2, areaHeight / 2);
        DrawSelection(surfacePainter, QPoint(start_.x, start_.y) + centre, QPoint(end_.x, end_.y) + centre);
    }
    surfacePainter.end();

    QPainter painter(viewport());
    if (shown != visible) painter.fillRect(QRect(QPoint(0, 0), client), QColor::fromRgb(kSurround));
    painter.drawImage(shown.topLeft() - visible.topLeft(), surface_, shown);
}

// The inverting band shows the rectangle over pictures, but over the grey surround (0x80 inverts to
// 0x7F) or any mid grey it vanishes; a black and white dashed line along its middle shows it over
// every background.
void COrvView::DrawSelection(QPainter& painter, QPoint a, QPoint b) {
    const QPoint corners[] = {a, QPoint(b.x(), a.y()), b, QPoint(a.x(), b.y())};
    const auto drawOutline = [&] {
        for (int i = 0; i < 4; ++i) painter.drawLine(corners[i], corners[(i + 1) % 4]);
    };
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::black, kSelectionPenWidth));
    drawOutline();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(QPen(Qt::white, 1));
    drawOutline();
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    drawOutline();
    painter.restore();
}

void COrvView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollExtent();
}

// The first view of a frame wider or taller than the pane is scrolled to the frame's centre,
// where emitters sit.
void COrvView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (shown_) return;
    shown_ = true;
    UpdateScrollExtent();
    CentreScrolling();
}

void COrvView::scrollContentsBy(int, int) {
    viewport()->update();
}

void COrvView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) start_ = Centred(event->position().toPoint());
    event->accept();
}

void COrvView::mouseMoveEvent(QMouseEvent* event) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    if (event->buttons() & Qt::RightButton) {
        end_ = Centred(event->position().toPoint());
        dragging_ = true;
        viewport()->repaint();
    }
    event->accept();
}

void COrvView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::RightButton) return;
    end_ = Centred(event->position().toPoint());
    dragging_ = false;
    viewport()->repaint();
    const std::unique_ptr<QMenu> menu = MakeSelectionMenu(this);
    const int id = ExecMenu(*menu, event->globalPosition().toPoint());
    if (id != 0) ExecuteSelectionCommand(id);
}

void COrvView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || controller_ == nullptr) return;
    const PreviewPoint point = Centred(event->position().toPoint());
    controller_->SetEmitterPosition(point.x, point.y);
}

void COrvView::SetSelection(PreviewPoint start, PreviewPoint end) {
    start_ = start;
    end_ = end;
}

void COrvView::ExecuteSelectionCommand(int id) {
    if (controller_ == nullptr) return;
    const SelectionCommandEffect effect = SelectionCommand(id, start_, end_);
    if (effect.position || !effect.rows.empty()) controller_->ApplySelection(SelectionCommandLabel(id), effect);
}

}  // namespace orv
