#pragma once

namespace orv {

// Where a render job shows how far it got: the editor's progress dialog or the command line's
// progress bar. Calls never overlap, but they may come from the job's encoder threads as well
// as from the thread that runs the job.
class RenderProgress {
public:
    virtual ~RenderProgress() = default;
    // The job sets 0..1000 once at its start.
    virtual void SetRange(int minimum, int maximum) = 0;
    // 0 once at the start, then once after every written frame.
    virtual void SetPosition(int position) = 0;
    // The job ended (normally, cancelled or failed): close the display.
    virtual void Finish() = 0;
};

}  // namespace orv
