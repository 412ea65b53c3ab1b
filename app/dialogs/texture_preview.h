#pragma once

#include <QImage>
#include <QWidget>

#include "render/frame_buffer.h"

namespace orv {

// The texture dialog's preview control: black, with the previewed picture stretched over the
// whole control without keeping its aspect ratio.
class CTexturePreview : public QWidget {
    Q_OBJECT
public:
    explicit CTexturePreview(QWidget* parent = nullptr);

    // Shows a picture already blended onto black.
    void SetPreview(const FrameBuffer& preview);
    bool HasPreview() const { return !image_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

}  // namespace orv
