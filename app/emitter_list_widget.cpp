#include "app/emitter_list_widget.h"

#include <QMouseEvent>

namespace orv {

void EmitterListWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || itemAt(event->position().toPoint()) == nullptr) {
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

void EmitterListWidget::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton) emit menuRequested(event->globalPosition().toPoint());
}

}  // namespace orv
