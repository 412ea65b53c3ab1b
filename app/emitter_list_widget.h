#pragma once

#include <QListWidget>
#include <QPoint>

namespace orv {

// The emitter list: releasing the right button over it asks for the list menu at that point. Only
// a left click on an item changes the highlight, which always marks the emitter being edited.
class EmitterListWidget : public QListWidget {
    Q_OBJECT

public:
    using QListWidget::QListWidget;

signals:
    void menuRequested(QPoint globalPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace orv
