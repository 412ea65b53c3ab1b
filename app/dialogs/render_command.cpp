#include <QCoreApplication>
#include <QMessageBox>

#include "app/core_text.h"

#include "app/dialogs/progress_dlg.h"
#include "app/dialogs/render_dlg.h"
#include "app/qt_text.h"
#include "editor/render_input.h"
#include "effectfile/editor_message.h"
#include "engine/settings.h"
#include "export/render_values.h"

namespace orv {

namespace {

// Texts are marked with QT_TRANSLATE_NOOP in this context and translated when shown.
QString Tr(const char* text) {
    return QCoreApplication::translate("orv::RenderCommand", text);
}

}  // namespace

void RunRenderJob(QWidget* parent, Effect& effect, const RenderJobConfig& config,
                  const std::function<void(const QString&)>& report) {
    if (const auto refusal = PrepareOutputFolder(config.outputBasePath)) {
        report(CoreText(*refusal));
        return;
    }

    CProgressDlg progress(parent);
    const RenderOutcome outcome = progress.Run(effect, config);
    if (!outcome.started) {
        report(Tr(QT_TRANSLATE_NOOP("orv::RenderCommand", "レンダリングを開始できませんでした。")));
    } else if (outcome.failure) {
        report(Tr(QT_TRANSLATE_NOOP("orv::RenderCommand",
                                    "レンダリングを中止しました。書き出せたフレームは %1 枚です。\n"))
                   .arg(outcome.framesWritten) +
               QString::fromStdString(*outcome.failure));
    }
}

void RunRenderCommand(QWidget* parent, EditorDocument& document) {
    Effect& effect = document.GetEffect();
    CRenderDlg dialog(CurrentSettings().fsp, parent, LoadRenderPreferences(), effect.Seed());
    if (dialog.exec() != QDialog::Accepted) return;
    SaveRenderPreferences(dialog.Preferences());
    document.SetSeed(dialog.Seed());

    RenderJobConfig config;
    config.framesPerSecond = dialog.FramesPerSecond();
    config.outputBasePath = dialog.OutputBasePath();
    config.seconds = static_cast<std::uint32_t>(dialog.Seconds());  // the dialog refuses less than 1
    config.threads = dialog.Preferences().threads;
    config.compression = dialog.Preferences().compression;
    if (const auto start = dialog.StartSeconds()) config.warmUpSteps = StartSteps(*start, config.framesPerSecond);
    config.loop = dialog.Preferences().loop;
    config.format = dialog.Preferences().format;
    config.settings = TakeSettingsSnapshot();
    RunRenderJob(parent, effect, config, [parent](const QString& text) {
        QMessageBox::warning(parent, CoreText(kWriteErrorCaption), text);
    });
}

}  // namespace orv
