#include "app/value_label.h"

#include <QMouseEvent>

namespace orv {

void ValueLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled() && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace orv
