// The controller's side of the transport bar: each operation runs on the editor's transport and
// shows what it drew.

#include "app/controller_host.h"
#include "app/param_dlg_view.h"
#include "editor/settings_rules.h"
#include "engine/settings.h"

namespace orv {

namespace {

std::uint32_t PreviewRate() {
    return PreviewFps(CurrentSettings().fsp);
}

}  // namespace

void CParamDlgView::ShowTransportResult(const TickResult& result) {
    if (result.repaint) {
        repaintPending_ = false;
        host_.RedrawPreview();
    }
    emit transportChanged();
}

void CParamDlgView::SetPlaying(bool playing) {
    transport_.SetPlaying(playing);
    emit transportChanged();
}

void CParamDlgView::TogglePlaying() {
    SetPlaying(!transport_.Playing());
}

void CParamDlgView::StepFrame() {
    ShowTransportResult(transport_.StepFrame(document_.GetEffect(), PreviewInputs(), PreviewRate()));
}

void CParamDlgView::RestartPreview() {
    ShowTransportResult(transport_.Restart(document_.GetEffect(), PreviewInputs()));
}

void CParamDlgView::SetPreviewSpeed(std::size_t index) {
    transport_.SetSpeedIndex(index);
    emit transportChanged();
}

void CParamDlgView::SeekPreview(double seconds) {
    ShowTransportResult(transport_.Seek(document_.GetEffect(), PreviewInputs(), seconds, PreviewRate()));
}

void CParamDlgView::SetSeekLength(double seconds) {
    transport_.SetSeekLength(seconds);
    emit transportChanged();
}

void CParamDlgView::SetSeed(std::optional<std::uint64_t> seed) {
    if (document_.SetSeed(seed)) AfterEdit();
}

void CParamDlgView::ReplayPreview() {
    ShowTransportResult(transport_.Replay(document_.GetEffect(), PreviewInputs(), PreviewRate()));
}

void CParamDlgView::FollowSeed() {
    ShowTransportResult(transport_.FollowSeed(document_.GetEffect(), PreviewInputs(), PreviewRate()));
}

void CParamDlgView::StartNewTime() {
    transport_.ResetTime();
    transport_.SetPlaying(true);
}

}  // namespace orv
