#include "gui/mainwnd/apply_controller.h"

#include <QEventLoop>
#include <QLabel>
#include <algorithm>

#include "base/text_encoding.h"
#include "device/device_link.h"
#include "gui/mainwnd/backup_before.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/window_parts.h"
#include "gui/skin/dialog_skin.h"
#include "gui/skin/skin_picture.h"
#include "model/files/backup_folder.h"
#include "model/files/profile_file.h"
#include "model/files/profile_file_name.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "ports/prompts.h"
#include "sync/download_check.h"
#include "sync/hardware_download.h"
#include "sync/keyboard_service.h"
#include "sync/lighting_ops.h"
#include "sync/profile_transfer.h"
#include "text/text_table.h"

namespace korvel {
namespace {

constexpr int kProgressFrames = 10;
constexpr int kProgressPeriodMs = 50;
// A job that has not ended after this long shows the progress area.
constexpr int kBusyShownAfterMs = 150;
// An Apply with nothing to send still shows its progress a moment, so the click is seen.
constexpr int kIdleApplyMs = 200;

}  // namespace

ApplyController::ApplyController(WindowParts& parts, QLabel* progress, QObject* parent)
    : QObject(parent), m_parts(parts), m_progress(progress) {
    m_progressTimer.setInterval(kProgressPeriodMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &ApplyController::StepProgress);
    m_busyTimer.setSingleShot(true);
    m_busyTimer.setInterval(kBusyShownAfterMs);
    connect(&m_busyTimer, &QTimer::timeout, this, [this] {
        if (!m_progressTimer.isActive()) {
            m_progress->show();
            m_progressTimer.start();
        }
    });
}

void ApplyController::SetModified(bool modified) {
    m_modified = modified;
    emit modifiedChanged(modified);
}

void ApplyController::Apply() {
    if (m_applying) {
        return;
    }
    m_applying = true;
    m_progressFrame = 0;
    StepProgress();
    m_progress->show();
    m_progressTimer.start();
    if (!m_modified) {
        QTimer::singleShot(kIdleApplyMs, this, [this] { FinishApply(false); });
        return;
    }
    // Staging and planning take no time; the transfer is a job, so editors stay free meanwhile:
    // what it sends is the plan's own copy.
    MainWindowServices& services = m_parts.services;
    ConfigStore& store = services.store;
    const std::filesystem::path documents = services.paths.DocumentsDirectory();
    DownloadParts parts{store, services.link, services.keyCodec, services.prompts, m_parts.Texts()};
    std::optional<FileWriteResult> saved;
    std::optional<DownloadPlan> plan;
    {
        auto lock = store.EditingConfig().Lock();
        saved = SaveWorkingFile(store, false, documents);
        // The keyboard gets the edits whatever happens to the working file (a read-only or full
        // Documents folder): the file is only the program's copy of what the keyboard holds.
        if (StageConfig(store)) {
            plan = PlanDownload(parts, false);
        }
    }
    if (plan) {
        SendPlan(std::move(*plan), [this](bool applied) { FinishApply(applied); });
    }
    // Said while the transfer runs: what could not be saved, where, and why.
    if (saved && !*saved) {
        m_parts.ShowWriteFailure(WorkingFile(documents), *saved);
    }
    if (!plan) {
        FinishApply(false);
    }
}

void ApplyController::ApplyAndWait() {
    QEventLoop loop;
    connect(this, &ApplyController::applyFinished, &loop, &QEventLoop::quit);
    Apply();
    if (m_applying) {
        loop.exec();
    }
}

bool ApplyController::Import(const std::filesystem::path& file, std::string_view operation) {
    // The file is staged and planned here; only the transfer waits for the keyboard.
    MainWindowServices& services = m_parts.services;
    DownloadParts parts{services.store, services.link, services.keyCodec, services.prompts,
                        m_parts.Texts()};
    const ImportResult result =
        ImportProfileFile(services.store, KnownMacroCapacity(services.link), services.prompts,
                          m_parts.Texts(), services.paths.DocumentsDirectory(), file);
    if (result.outcome == ImportOutcome::Refused || result.outcome == ImportOutcome::NoRoom) {
        return false;
    }
    if (result.workingFile == WorkingFileState::Failed) {
        m_parts.ShowWriteFailure(WorkingFile(services.paths.DocumentsDirectory()),
                                 result.workingFileWrite);
    }
    SetModified(true);
    m_parts.RefreshKeys();
    std::optional<DownloadPlan> plan;
    if (result.outcome == ImportOutcome::Staged) {
        plan = PlanDownload(parts, true);
    }
    if (!plan) {
        emit importFinished(false);
        return true;
    }
    // What the keyboard holds is kept before the file replaces it; without the backup, and the
    // user's word to go on, the import stays staged and unsent.
    auto shared = std::make_shared<DownloadPlan>(std::move(*plan));
    BackUpBefore(
        m_parts, operation,
        [this, shared] {
            SendPlan(std::move(*shared), [this](bool applied) {
                if (applied) {
                    SetModified(false);
                }
                emit importFinished(applied);
            });
        },
        [this] { emit importFinished(false); });
    return true;
}

bool ApplyController::Export(const std::filesystem::path& file) {
    const std::filesystem::path path = WithProfileExtension(file);
    const FileWriteResult written = ExportProfileFile(m_parts.services.store, path);
    if (!written) {
        m_parts.ShowWriteFailure(path, written);
    }
    return static_cast<bool>(written);
}

void ApplyController::RestoreDefaults() {
    MainWindowServices& services = m_parts.services;
    if (services.prompts.AskYesNo(services.texts.Text(TextKey::MAIN_PROMPT_DEFAULT), Answer::No) !=
        Answer::Yes) {
        return;
    }
    // With no keyboard there is no active profile whose keys could be cleared.
    if (m_parts.ActiveProfile() < 0) {
        return;
    }
    BackUpBefore(m_parts, kBackupBeforeDefaults, [this] { ClearActiveProfile(); });
}

void ApplyController::ClearActiveProfile() {
    MainWindowServices& services = m_parts.services;
    const int active = m_parts.ActiveProfile();
    if (active < 0) {
        return;
    }
    m_parts.keys.ResetProfileKeys(services.store.EditingConfig(), active);
    SetModified(true);
    LightingPanel& lighting = m_parts.lighting;
    if (lighting.IsOn()) {
        lighting.Change({}, [](LightingOps& ops) { ops.RestoreLightingDefaults(); });
        lighting.Redraw();
        CheckLightingWritten();
    }
    // The cleared keys go to the keyboard at once; a download that fails is said, not hidden.
    connect(
        this, &ApplyController::applyFinished, this,
        [this](bool done) {
            if (!done) {
                m_parts.services.prompts.ShowMessage(m_parts.Caption("MAIN_PROMPT_DEFAULT_FAILED"),
                                                     MessageKind::Warning);
            }
        },
        Qt::SingleShotConnection);
    Apply();
    emit defaultsRestored();
}

void ApplyController::CheckLightingWritten() {
    m_parts.lighting.CheckWritten([this](const DownloadCheck& check) {
        if (check.Holds() || m_parts.Closing()) {
            return;
        }
        // A keyboard that did not keep its lighting is said as one that did not keep its keys.
        const std::u16string question = m_parts.Caption("MAIN_VERIFY_FAILED") + u"\n\n" +
                                        Utf8ToUtf16(DescribeFailedCheck(check));
        if (m_parts.services.prompts.AskYesNo(question, Answer::Yes) == Answer::Yes) {
            m_parts.lighting.Resend();
            CheckLightingWritten();
        }
    });
}

void ApplyController::LoadWorkingFile() {
    ConfigStore& store = m_parts.services.store;
    auto lock = store.EditingConfig().Lock();
    ReleaseEditingConfig(store);
    LoadProfileFile(store, WorkingFile(m_parts.services.paths.DocumentsDirectory()));
}

namespace {

// What a transfer ended with: the download's answer (-1: nothing was sent) and what reading it
// back found.
struct SentAndChecked {
    int answer = -1;
    std::optional<DownloadCheck> check;
};

}  // namespace

void ApplyController::SendPlan(DownloadPlan plan, std::function<void(bool)> done) {
    std::u16string notice = plan.notice;
    auto shared = std::make_shared<const DownloadPlan>(std::move(plan));
    const KeyCodec* codec = &m_parts.services.keyCodec;
    m_parts.jobs.Submit<SentAndChecked>(
        "download",
        [shared, codec](JobContext& job) {
            DownloadReport report;
            SentAndChecked outcome;
            const int result =
                SendDownload(job.Link(), *shared, &report,
                             [&job](int sent, int planned) { job.ReportProgress(sent, planned); });
            if (!report.sent) {
                return outcome;
            }
            outcome.answer = result;
            // What the keyboard acknowledged is read back: a keyboard can take a write and keep
            // other bytes.
            if (result == 1) {
                outcome.check = CheckDownload(job.Link(), *shared, *codec);
            }
            return outcome;
        },
        [this, shared, notice = std::move(notice),
         done = std::move(done)](JobResult<SentAndChecked> result) mutable {
            if (result.end == JobEnd::Busy) {
                m_parts.ShowKeyboardHeld(result.busyHolder);
            }
            const SentAndChecked outcome = result.value.value_or(SentAndChecked{});
            if (outcome.check && !outcome.check->Holds() && !m_parts.Closing()) {
                // Said before anything else: the keyboard does not hold the user's setup.
                const std::u16string question = m_parts.Caption("MAIN_VERIFY_FAILED") + u"\n\n" +
                                                Utf8ToUtf16(DescribeFailedCheck(*outcome.check));
                if (m_parts.services.prompts.AskYesNo(question, Answer::Yes) == Answer::Yes) {
                    SendPlan(*shared, std::move(done));
                    return;
                }
                done(false);
                return;
            }
            // Macros sent without their names: said once the transfer is over.
            if (outcome.answer >= 0 && !notice.empty() && !m_parts.Closing()) {
                m_parts.services.prompts.ShowMessage(notice, MessageKind::Information);
            }
            done(outcome.answer == 1);
        },
        {}, true);
}

void ApplyController::FinishApply(bool applied) {
    m_progressTimer.stop();
    m_progress->hide();
    m_applying = false;
    if (applied) {
        SetModified(false);
    }
    emit applyFinished(applied);
}

void ApplyController::OnKeyboardBusy(bool busy) {
    if (busy) {
        m_busyTimer.start();
        return;
    }
    m_busyTimer.stop();
    if (!m_applying) {
        m_progressTimer.stop();
        m_progress->hide();
    }
}

void ApplyController::ShowProgress(int done, int planned) {
    if (planned <= 0) {
        return;
    }
    // A download fills the area frame by frame as its reports go out.
    m_progressTimer.stop();
    m_progress->show();
    m_progressFrame = std::min(kProgressFrames - 1, done * kProgressFrames / planned);
    ShowProgressFrame(m_progressFrame);
}

void ApplyController::Stop() {
    m_applying = false;
    m_busyTimer.stop();
    m_progressTimer.stop();
}

void ApplyController::StepProgress() {
    ShowProgressFrame(m_progressFrame % kProgressFrames);
    ++m_progressFrame;
}

void ApplyController::ShowProgressFrame(int frame) {
    m_progress->setPixmap(
        LoadSkinPixmap(m_parts.skin.PicturePath(QStringLiteral("jdt%1.bmp").arg(frame + 1))));
}

}  // namespace korvel
