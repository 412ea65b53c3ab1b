#pragma once

#include <QListWidget>
#include <QPoint>

namespace orv {

// The emitter list: releasing the right button over it asks for the list menu at that point.
class EmitterListWidget : public QListWidget {
    Q_OBJECT

public:
    using QListWidget::QListWidget;

signals:
    void menuRequested(QPoint globalPosition);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace orv
