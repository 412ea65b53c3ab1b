#pragma once

#include <QString>

namespace orv {

class FrameBuffer;

// What the controller needs from the window that holds it (the main frame): the title, the
// preview view's buffer and its redraw, closing.
class ControllerHost {
public:
    virtual void SetTitleText(const QString& title) = 0;
    // The buffer the preview view presents; null when there is none.
    virtual FrameBuffer* PreviewBuffer() = 0;
    // Repaints the preview view at once.
    virtual void RedrawPreview() = 0;
    // The frame size changed: the view resizes its buffer, clears it and its scroll extent.
    virtual void ResizePreview() = 0;
    // Closes the main window (later, from the event loop), without any question.
    virtual void RequestClose() = 0;

protected:
    ~ControllerHost() = default;
};

}  // namespace orv
