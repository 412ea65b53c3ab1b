// The commands of the panel's menus, executed by the controller.

#include <QString>

#include "app/command_ids.h"
#include "app/controller_host.h"
#include "app/dialogs/about_box.h"
#include "app/dialogs/help.h"
#include "app/dialogs/option_dlg.h"
#include "app/dialogs/render_dlg.h"
#include "app/dialogs/texture_dlg.h"
#include "app/param_dlg_view.h"
#include "app/qt_text.h"
#include "effectfile/effect_loading.h"
#include "effectfile/effect_writer.h"
#include "interop/effect_import.h"
#include "engine/settings.h"
#include "image/png_loader.h"
#include "vesk/err_code_exception.h"
#include "vesk/path_utils.h"

namespace orv {

namespace {

const QString kEffectFilter =
    QStringLiteral("ORVファイル (*.orv);;パーティクルファイル (*.plist *.pex *.p);;すべてのファイル (*.*)");
const QString kExportFilter = QStringLiteral("cocos2d plist (*.plist);;Starling pex (*.pex)");

FrameSize CurrentFrameSize() { return {CurrentSettings().screenWidth, CurrentSettings().screenHeight}; }
const QString kPngFilter = QStringLiteral("PNGファイル (*.png);;すべてのファイル (*.*)");

}  // namespace

void CParamDlgView::ExecuteCommand(int id) {
    switch (id) {
        case kCmdNew:
            NewEffect();
            break;
        case kCmdOpen:
            OpenEffect(false);
            break;
        case kCmdMergeLoad:
            OpenEffect(true);
            break;
        case kCmdSave:
            Save();
            break;
        case kCmdSaveAs:
            SaveAs();
            break;
        case kCmdExport:
            Export();
            break;
        case kCmdRender:
            Render();
            break;
        case kCmdSetBackgroundImage:
            SetBackgroundImage();
            break;
        case kCmdReleaseBackgroundImage:
            ReleaseBackgroundImage();
            break;
        case kCmdSettings:
            Settings();
            break;
        case kCmdHelp:
            OpenHelp();
            break;
        case kCmdAbout:
            ShowAboutBox(this);
            break;
        case kCmdExit:
            host_.RequestClose();
            break;
        case kCmdAddEmitter:
            AddEmitter();
            break;
        case kCmdRenameEmitter:
            RenameEmitter();
            break;
        case kCmdDeleteEmitter:
            DeleteEmitter();
            break;
        case kCmdMoveEmitterUp:
            MoveEmitter(true);
            break;
        case kCmdMoveEmitterDown:
            MoveEmitter(false);
            break;
        default:
            break;
    }
}

// ---- Files ---------------------------------------------------------------------------------

void CParamDlgView::NewEffect() {
    StopTimer();
    currentFile_.clear();
    effect_.RemoveAllEmitters();
    effect_.EnsureEmitter();
    RefreshList(0);
    MakeCurrent(0);
    ApplyPanelToCurrent();
    StartTimer();
}

void CParamDlgView::OpenEffect(bool merge) {
    StopTimer();
    if (const auto path = prompts_->AskOpenPath(this, kEffectFilter, QStringLiteral("orv"))) {
        LoadFile(ToU16(*path), merge);
    }
    StartTimer();
}

void CParamDlgView::OpenEffectPath(const std::u16string& path) {
    LoadFile(path, false);
}

// A file that failed to load leaves the effect and the current path as they were, so a later
// save cannot overwrite it with the effect that was in memory. An imported engine file is never
// the current file: Save writes .orv only, and would overwrite it.
void CParamDlgView::LoadFile(const std::u16string& path, bool merge) {
    const LoadOutcome outcome = LoadAnyEffect(effect_, path, merge, CurrentFrameSize());
    if (outcome.message) {
        prompts_->ShowMessage(this, ToQString(outcome.message->caption), ToQString(outcome.message->text));
    }
    if (!outcome.loaded) return;
    if (!IsImportedFormat(path)) {
        currentFile_ = path;
    } else if (!merge) {
        currentFile_.clear();
    }
    ShowLoaded(outcome);
}

void CParamDlgView::ShowLoaded(const LoadOutcome& outcome) {
    for (std::size_t row = kBgR; row <= kBgA; ++row) SetSliderByRaw(row, effect_.BackgroundRaw(row));
    const std::size_t selection = outcome.selection < effect_.Count() ? outcome.selection : 0;
    RefreshList(selection);
    MakeCurrent(selection);
}

void CParamDlgView::OpenDroppedFile(const std::u16string& path) {
    const OpenFileOutcome outcome = OpenAnyFile(effect_, CurrentIndex(), path, CurrentFrameSize());
    if (!outcome.isEffect) return;
    if (outcome.load.message) {
        prompts_->ShowMessage(this, ToQString(outcome.load.message->caption),
                              ToQString(outcome.load.message->text));
    }
    if (!outcome.load.loaded) return;
    currentFile_ = IsImportedFormat(path) ? std::u16string() : path;
    ShowLoaded(outcome.load);
}

void CParamDlgView::Save() {
    if (currentFile_.empty()) return;
    if (const auto message = SaveEffect(effect_, currentFile_)) {
        prompts_->ShowMessage(this, ToQString(message->caption), ToQString(message->text));
    }
}

void CParamDlgView::SaveAs() {
    const std::u16string proposed = currentFile_.empty() ? u".orv"
                                                         : vesk::GetDirectoryPart(currentFile_) +
                                                               vesk::GetFileTitlePart(currentFile_) + u".orv";
    if (const auto path =
            prompts_->AskSavePath(this, ToQString(proposed), kEffectFilter, QStringLiteral("orv"))) {
        currentFile_ = ToU16(*path);
        Save();
    }
}

// The current emitter, or every emitter one file each, as .plist or .pex for a game engine.
void CParamDlgView::Export() {
    const std::optional<ExportChoice> choice = prompts_->AskExport(this, effect_.Count() > 1);
    if (!choice) return;
    const std::u16string title = currentFile_.empty() ? u"effect" : vesk::GetFileTitlePart(currentFile_);
    const std::u16string proposed = vesk::GetDirectoryPart(currentFile_) + title + u".plist";
    const auto path = prompts_->AskSavePath(this, ToQString(proposed), kExportFilter, QStringLiteral("plist"));
    if (!path) return;
    ConversionReport report;
    try {
        const std::optional<std::size_t> only =
            choice->allEmitters ? std::nullopt : std::optional<std::size_t>(CurrentIndex());
        ExportEffect(effect_, only, std::filesystem::path(ToU16(*path)), choice->embedTexture, CurrentFrameSize(),
                     report);
    } catch (const std::exception& error) {
        prompts_->ShowMessage(this, ToQString(kWriteErrorCaption), QString::fromUtf8(error.what()));
        return;
    }
    if (!report.Empty()) {
        prompts_->ShowMessage(this, QStringLiteral("エクスポート"), QString::fromUtf8(report.Text().c_str()));
    }
}

// ---- Background image ----------------------------------------------------------------------

void CParamDlgView::RefillPreviewBackground() {
    if (FrameBuffer* preview = host_.PreviewBuffer()) {
        DrawPreviewBackground(*preview, BackgroundImage(), effect_.BackgroundColour(), ActiveSse2());
    }
    host_.RedrawPreview();
}

void CParamDlgView::SetBackgroundImage() {
    const auto path = prompts_->AskOpenPath(this, kPngFilter, QStringLiteral("png"));
    if (!path) return;
    TexturePtr image;
    try {
        image = LoadPng(ToU16(*path));
    } catch (const vesk::CErrCodeException&) {
        return;  // an image that cannot be read leaves the background as it was
    }
    if (!image || !image->colour) return;
    backgroundImage_ = std::move(image);
    RefillPreviewBackground();
}

void CParamDlgView::ReleaseBackgroundImage() {
    if (!backgroundImage_) return;
    backgroundImage_.reset();
    RefillPreviewBackground();
}

// ---- Dialog commands -----------------------------------------------------------------------

void CParamDlgView::Render() {
    StopTimer();
    RunRenderCommand(this, effect_);
    StartTimer();
}

void CParamDlgView::Settings() {
    const SettingsChange change = RunSettingsCommand(this);
    if (change.fpsChanged) StartTimer();
    if (change.sizeChanged) {
        host_.ResizePreview();
        host_.RedrawPreview();
    }
}

void CParamDlgView::EditTexture() {
    if (current_ != nullptr) RunTextureCommand(this, *current_);
}

// ---- Emitter list --------------------------------------------------------------------------

void CParamDlgView::AddEmitter() {
    const auto name =
        prompts_->AskText(this, QStringLiteral("エミッター名入力"), ToQString(effect_.ProposedEmitterName()));
    if (!name || name->isEmpty()) return;
    if (effect_.AddEmitter(ToU16(*name)) == nullptr) return;
    const std::size_t index = effect_.Count() - 1;
    RefreshList(index);
    MakeCurrent(index);
    ApplyPanelToCurrent();
}

void CParamDlgView::RenameEmitter() {
    const std::optional<std::size_t> index = SelectedIndex();
    if (!index) return;
    const auto name =
        prompts_->AskText(this, QStringLiteral("エミッター名入力"), ToQString(effect_.NameAt(*index)));
    if (!name) return;
    if (effect_.RenameEmitter(*index, ToU16(*name))) RefreshList(*index);
}

void CParamDlgView::DeleteEmitter() {
    const std::optional<std::size_t> index = SelectedIndex();
    if (!index || !effect_.DeleteEmitter(*index)) return;
    RefreshList(0);
    MakeCurrent(0);
}

void CParamDlgView::MoveEmitter(bool up) {
    const std::optional<std::size_t> index = SelectedIndex();
    if (!index) return;
    const bool moved = up ? effect_.MoveEmitterUp(*index) : effect_.MoveEmitterDown(*index);
    if (moved) RefreshList(std::nullopt);
}

}  // namespace orv
