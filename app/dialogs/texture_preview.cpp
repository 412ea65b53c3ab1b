#include "app/dialogs/texture_preview.h"

#include <QPainter>

namespace orv {

CTexturePreview::CTexturePreview(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTexturePreview::SetPreview(const FrameBuffer& preview) {
    QImage image(static_cast<int>(preview.Width()), static_cast<int>(preview.Height()), QImage::Format_RGB32);
    if (image.isNull()) return;  // too large to show: the previous preview stays
    // Qt's RGB32 wants the unused byte at 0xff; the preview leaves it 0.
    for (std::uint32_t y = 0; y < preview.Height(); ++y) {
        const std::uint32_t* source = preview.Row(y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (std::uint32_t x = 0; x < preview.Width(); ++x) target[x] = source[x] | 0xff000000u;
    }
    image_ = std::move(image);
    repaint();
}

void CTexturePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!image_.isNull()) painter.drawImage(rect(), image_);
}

}  // namespace orv
