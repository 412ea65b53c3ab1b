// The commands of the panel's menus, executed by the controller.

#include <QCoreApplication>
#include <QString>

#include "app/controller_host.h"
#include "app/core_text.h"
#include "app/dialogs/about_box.h"
#include "app/dialogs/help.h"
#include "app/dialogs/option_dlg.h"
#include "app/dialogs/render_dlg.h"
#include "app/dialogs/texture_dlg.h"
#include "app/param_dlg_view.h"
#include "app/qt_text.h"
#include "editor/command_ids.h"
#include "editor/step_names.h"
#include "effectfile/effect_loading.h"
#include "effectfile/effect_writer.h"
#include "engine/settings.h"
#include "image/png_loader.h"
#include "interop/effect_import.h"
#include "vesk/err_code_exception.h"
#include "vesk/path_utils.h"

namespace orv {

namespace {

// Functions, not constants: the texts follow the translations installed when they are shown.
QString EffectFilter() {
    return QCoreApplication::translate(
        "orv::CParamDlgView",
        "ORVファイル (*.orv);;パーティクルファイル (*.plist *.pex *.p);;すべてのファイル (*.*)");
}
QString PngFilter() {
    return QCoreApplication::translate("orv::CParamDlgView", "PNGファイル (*.png);;すべてのファイル (*.*)");
}
const QString kExportFilter = QStringLiteral("cocos2d plist (*.plist);;Starling pex (*.pex)");

FrameSize CurrentFrameSize() {
    return {CurrentSettings().screenWidth, CurrentSettings().screenHeight};
}

}  // namespace

void CParamDlgView::ExecuteCommand(int id) {
    switch (id) {
        case kCmdUndo:
            UndoOrRedo(true);
            break;
        case kCmdRedo:
            UndoOrRedo(false);
            break;
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
            MoveEmitter(MoveEdit::Direction::kUp);
            break;
        case kCmdMoveEmitterDown:
            MoveEmitter(MoveEdit::Direction::kDown);
            break;
        default:
            break;
    }
}

void CParamDlgView::UndoOrRedo(bool undo) {
    if (undo ? document_.Undo() : document_.Redo()) ShowDocument();
}

// ---- Files ---------------------------------------------------------------------------------

bool CParamDlgView::ConfirmDiscard() {
    if (!document_.IsModified()) return true;
    switch (prompts_->AskSaveChanges(this)) {
        case SaveChoice::kSave:
            return document_.FilePath().empty() ? SaveAs() : Save();
        case SaveChoice::kDiscard:
            return true;
        case SaveChoice::kCancel:
            break;
    }
    return false;
}

void CParamDlgView::NewEffect() {
    if (!ConfirmDiscard()) return;
    StopTimer();
    document_.New();
    StartNewTime();
    ShowDocument();
    StartTimer();
}

void CParamDlgView::OpenEffect(bool merge) {
    // Merging is a step that can be undone; only replacing the effect can lose work.
    if (!merge && !ConfirmDiscard()) return;
    StopTimer();
    if (const auto path = prompts_->AskOpenPath(this, EffectFilter(), QStringLiteral("orv"))) {
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
    const LoadOutcome outcome =
        merge ? document_.MergeLoad(path, CurrentFrameSize()) : document_.Open(path, CurrentFrameSize());
    // The loaded effect is on screen before a message about it (an import's report) is shown.
    if (outcome.loaded) {
        RememberFolder(path);
        if (!merge) StartNewTime();
        ShowDocument();
    }
    if (outcome.message) {
        prompts_->ShowMessage(this, CoreText(outcome.message->caption), CoreText(outcome.message->text));
    }
}

void CParamDlgView::OpenDroppedFile(const std::u16string& path) {
    if (IsEffectFileName(path)) {
        if (ConfirmDiscard()) LoadFile(path, false);
    } else if (document_.DropTexture(path)) {
        AfterEdit();
    }
}

void CParamDlgView::RememberFolder(const std::u16string& path) {
    lastFolder_ = vesk::GetDirectoryPart(path);
}

bool CParamDlgView::Save() {
    if (document_.FilePath().empty()) return false;
    return ShowSaveFailure(document_.Save());
}

bool CParamDlgView::SaveAs() {
    const std::u16string proposed = ProposedSaveName(document_.FilePath(), lastFolder_);
    const auto path = prompts_->AskSavePath(this, ToQString(proposed), EffectFilter(), QStringLiteral("orv"));
    if (!path) return false;
    RememberFolder(ToU16(*path));
    return ShowSaveFailure(document_.SaveAs(ToU16(*path)));
}

bool CParamDlgView::ShowSaveFailure(const std::optional<EditorMessage>& failure) {
    if (failure) prompts_->ShowMessage(this, CoreText(failure->caption), CoreText(failure->text));
    UpdateTitle();
    return !failure;
}

// The current emitter, or every emitter one file each, as .plist or .pex for a game engine.
void CParamDlgView::Export() {
    const Effect& effect = document_.GetEffect();
    const std::u16string& currentFile = document_.FilePath();
    const std::optional<ExportChoice> choice = prompts_->AskExport(this, effect.Count() > 1);
    if (!choice) return;
    const std::u16string title = currentFile.empty() ? u"effect" : vesk::GetFileTitlePart(currentFile);
    const std::u16string proposed = vesk::GetDirectoryPart(currentFile) + title + u".plist";
    const auto path =
        prompts_->AskSavePath(this, ToQString(proposed), kExportFilter, QStringLiteral("plist"));
    if (!path) return;
    ConversionReport report;
    try {
        const std::optional<std::size_t> only =
            choice->allEmitters ? std::nullopt : std::optional<std::size_t>(document_.CurrentIndex());
        ExportEffect(effect, only, std::filesystem::path(ToU16(*path)), choice->embedTexture,
                     CurrentFrameSize(), report);
    } catch (const std::exception& error) {
        prompts_->ShowMessage(this, CoreText(kWriteErrorCaption), QString::fromUtf8(error.what()));
        return;
    }
    if (!report.Empty()) {
        prompts_->ShowMessage(this, tr("エクスポート"), QString::fromUtf8(report.Text().c_str()));
    }
}

// ---- Background image ----------------------------------------------------------------------

void CParamDlgView::RefillPreviewBackground() {
    if (FrameBuffer* preview = host_.PreviewBuffer()) {
        DrawPreviewBackground(*preview, BackgroundImage(), document_.GetEffect().BackgroundColour(),
                              ActiveSse2());
    }
    host_.RedrawPreview();
}

void CParamDlgView::SetBackgroundImage() {
    const auto path = prompts_->AskOpenPath(this, PngFilter(), QStringLiteral("png"));
    if (!path) return;
    TexturePtr image;
    try {
        image = LoadPng(ToU16(*path));
    } catch (const vesk::CErrCodeException&) {
        return;  // an image that cannot be read leaves the background as it was
    }
    if (document_.SetBackgroundImage(std::move(image))) {
        AfterEdit();
        RefillPreviewBackground();
    }
}

void CParamDlgView::ReleaseBackgroundImage() {
    if (document_.ReleaseBackgroundImage()) {
        AfterEdit();
        RefillPreviewBackground();
    }
}

// ---- Dialog commands -----------------------------------------------------------------------

void CParamDlgView::Render() {
    StopTimer();
    RunRenderCommand(this, document_);
    AfterEdit();  // the dialog may have changed the seed
    // The render restarted and stepped the emitters: the preview starts again (or, paused,
    // returns to its moment), so its time stays true.
    ReplayPreview();
    StartTimer();
}

void CParamDlgView::Settings() {
    const SettingsChange change = RunSettingsCommand(this);
    repaintPending_ = true;  // a paused preview is drawn again with the new settings
    if (change.fpsChanged) StartTimer();
    if (change.sizeChanged) {
        host_.ResizePreview();
        host_.RedrawPreview();
    }
}

void CParamDlgView::EditTexture() {
    const auto choices = AskTextureChoices(this, document_.Current().texture);
    if (!choices) return;
    TextureSettings after = document_.Current().texture.CopyWithoutImage();
    ApplyTextureChoices(after, *choices);
    if (document_.ReplaceTexture(std::move(after), step_name::kTexture)) AfterEdit();
}

// ---- Emitter list --------------------------------------------------------------------------

void CParamDlgView::AddEmitter() {
    const auto name = prompts_->AskText(this, tr("エミッター名入力"),
                                        ToQString(document_.GetEffect().ProposedEmitterName()));
    if (name && document_.AddEmitter(ToU16(*name))) ShowDocument();
}

void CParamDlgView::RenameEmitter() {
    const auto name = prompts_->AskText(this, tr("エミッター名入力"),
                                        ToQString(document_.GetEffect().NameAt(document_.CurrentIndex())));
    if (name && document_.RenameCurrent(ToU16(*name))) ShowDocument();
}

void CParamDlgView::DeleteEmitter() {
    if (document_.DeleteCurrent()) ShowDocument();
}

void CParamDlgView::MoveEmitter(MoveEdit::Direction direction) {
    if (document_.MoveCurrent(direction)) ShowDocument();
}

}  // namespace orv
