#pragma once

#include <QLabel>

namespace orv {

// A parameter's value label: clicking it asks for the value as a number.
class ValueLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace orv
