// The main window's work with the keyboard: every transaction is a job of the keyboard service,
// whose result comes back to the window's thread; the window never waits for the keyboard.
#include <QDir>
#include <QLabel>
#include <algorithm>
#include <map>

#include "base/text_encoding.h"
#include "device/device_link.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/png_button.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "ports/prompts.h"
#include "sync/device_backup.h"
#include "sync/hardware_download.h"
#include "sync/keyboard_requests.h"
#include "sync/keyboard_service.h"
#include "sync/profile_transfer.h"
#include "text/text_table.h"

namespace korvel {
namespace {

constexpr int kProgressFrames = 10;
// An Apply with nothing to send still shows its progress a moment, so the click is seen.
constexpr int kIdleApplyMs = 200;

}  // namespace

bool CKorvelDlg::KeyboardBusy() const {
    return m_jobs != nullptr && m_jobs->InFlight() > 0;
}

TextLookup CKorvelDlg::TextsFor(std::initializer_list<const char*> keys) const {
    std::map<std::string, std::u16string, std::less<>> copied;
    for (const char* key : keys) {
        copied.emplace(key, m_services.texts.Text(key));
    }
    return [copied = std::move(copied)](std::string_view key) {
        const auto found = copied.find(key);
        return found != copied.end() ? found->second : std::u16string();
    };
}

void CKorvelDlg::ShowKeyboardHeld(const std::string& holder) {
    if (!m_shutDown) {
        m_services.prompts.ShowMessage(Utf8ToUtf16(holder), MessageKind::Warning);
    }
}

void CKorvelDlg::ShowReading(bool reading) {
    if (reading == m_reading) {
        return;
    }
    m_reading = reading;
    if (m_readingLabel == nullptr) {
        // Beside the lighting panel's title, in its look but dimmer.
        const QWidget* title = m_lightingPanel->Control(kPanelLabel);
        m_readingLabel = new QLabel(this);
        m_readingLabel->setFont(title->font());
        m_readingLabel->setStyleSheet(QStringLiteral("color: #8A9099; background: transparent;"));
        m_readingLabel->setGeometry(title->geometry().translated(title->width() + 16, 0));
        m_readingLabel->resize(420, title->height());
    }
    m_readingLabel->setText(QString::fromStdU16String(Caption("MAIN_READING")));
    m_readingLabel->setVisible(reading);
    if (reading) {
        // What would change or send the setup before it is known waits; keys stay as they are
        // drawn (their faces follow the flip layer), only their clicks are held back.
        for (int id : {kControlApply, kControlOk, kRestoreDefaults, kProfileButton1,
                       kProfileButton2, kProfileButton3, kControlSceneMode, kControlMacro,
                       kReportRate1, kReportRate2, kReportRate3, kReportRate4}) {
            QWidget* control = Control(id);
            if (control != nullptr && control->isEnabled()) {
                control->setEnabled(false);
                m_disabledWhileReading.push_back(control);
            }
        }
        return;
    }
    for (QWidget* control : m_disabledWhileReading) {
        control->setEnabled(true);
    }
    m_disabledWhileReading.clear();
    SetModified(m_modified);
}

void CKorvelDlg::OnReloadFromKeyboard() {
    // The window shows at once; what the keyboard holds follows when it has been read.
    ShowReading(true);
    using Backup = std::optional<std::vector<std::uint8_t>>;
    const KeyCodec* codec = &m_services.keyCodec;
    m_jobs->Submit<Backup>(
        "reload",
        [codec, texts = TextsFor({"MACRO_NEW_PREFIX"})](JobContext& job) {
            // Reads the active profile (into the link's cache) along with the key tables.
            return ReadDeviceBackup(job.Link(), *codec, texts);
        },
        [this](JobResult<Backup> result) {
            if (m_shutDown) {
                return;
            }
            ShowReading(false);
            if (result.end == JobEnd::Busy) {
                ShowKeyboardHeld(result.busyHolder);
            }
            const std::filesystem::path documents = m_services.paths.DocumentsDirectory();
            FileWriteResult workingFileWrite;
            if (PlaceDeviceBackup(m_services.store, result.value.value_or(std::nullopt), documents,
                                  &workingFileWrite) == ReloadOutcome::FromKeyboardUnsaved) {
                ShowWriteFailure(WorkingFile(documents), workingFileWrite);
            }
            SetModified(false);
            SyncProfileButtons();
            RefreshKeyGrid();
            BuildSceneMenu();
            emit reloaded();
        });
    m_lightingPanel->ReadAll();
}

bool CKorvelDlg::Import(const std::filesystem::path& file) {
    // The file is staged and planned here; only the transfer waits for the keyboard.
    DownloadParts parts{m_services.store, m_services.link, m_services.keyCodec, m_services.prompts,
                        Texts()};
    const ImportResult result =
        ImportProfileFile(m_services.store, KnownMacroCapacity(m_services.link), m_services.prompts,
                          Texts(), m_services.paths.DocumentsDirectory(), file);
    if (result.outcome == ImportOutcome::Refused || result.outcome == ImportOutcome::NoRoom) {
        return false;
    }
    if (result.workingFile == WorkingFileState::Failed) {
        ShowWriteFailure(WorkingFile(m_services.paths.DocumentsDirectory()),
                         result.workingFileWrite);
    }
    SetModified(true);
    RefreshKeyGrid();
    std::optional<DownloadPlan> plan;
    if (result.outcome == ImportOutcome::Staged) {
        plan = PlanDownload(parts, true);
    }
    if (!plan) {
        emit importFinished(false);
        return true;
    }
    SendPlan(std::move(*plan), [this](bool applied) {
        if (applied) {
            SetModified(false);
        }
        emit importFinished(applied);
    });
    return true;
}

void CKorvelDlg::Apply() {
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
    ConfigStore& store = m_services.store;
    const std::filesystem::path documents = m_services.paths.DocumentsDirectory();
    DownloadParts parts{store, m_services.link, m_services.keyCodec, m_services.prompts, Texts()};
    std::optional<FileWriteResult> saved;
    std::optional<DownloadPlan> plan;
    {
        auto lock = store.EditingConfig().Lock();
        saved = SaveWorkingFile(store, false, documents);
        if (saved && *saved && StageConfig(store)) {
            plan = PlanDownload(parts, false);
        }
    }
    if (saved && !*saved) {
        ShowWriteFailure(WorkingFile(documents), *saved);
    }
    if (!plan) {
        FinishApply(false);
        return;
    }
    SendPlan(std::move(*plan), [this](bool applied) { FinishApply(applied); });
}

void CKorvelDlg::SendPlan(DownloadPlan plan, std::function<void(bool)> done) {
    std::u16string notice = plan.notice;
    m_jobs->Submit<int>(
        "download",
        [plan = std::move(plan)](JobContext& job) {
            DownloadReport report;
            const int result =
                SendDownload(job.Link(), plan, &report,
                             [&job](int sent, int planned) { job.ReportProgress(sent, planned); });
            return report.sent ? result : -1;
        },
        [this, notice = std::move(notice), done = std::move(done)](JobResult<int> result) {
            if (result.end == JobEnd::Busy) {
                ShowKeyboardHeld(result.busyHolder);
            }
            // Macros sent without their names: said once the transfer is over.
            const int answer = result.value.value_or(-1);
            if (answer >= 0 && !notice.empty() && !m_shutDown) {
                m_services.prompts.ShowMessage(notice, MessageKind::Information);
            }
            done(answer == 1);
        },
        {}, true);
}

void CKorvelDlg::FinishApply(bool applied) {
    m_progressTimer.stop();
    m_progress->hide();
    m_applying = false;
    if (applied) {
        SetModified(false);
    }
    emit applyFinished(applied);
}

void CKorvelDlg::OnKeyboardBusy(bool busy) {
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

void CKorvelDlg::ShowProgress(int done, int planned) {
    if (planned <= 0) {
        return;
    }
    // A download fills the area frame by frame as its reports go out.
    m_progressTimer.stop();
    m_progress->show();
    m_progressFrame = std::min(kProgressFrames - 1, done * kProgressFrames / planned);
    ShowProgressFrame(m_progressFrame);
}

void CKorvelDlg::EnterBootLoader(std::function<void(bool)> done) {
    m_jobs->Submit<bool>(
        "boot loader", [](JobContext& job) { return korvel::EnterBootLoader(job.Link()); },
        [done = std::move(done)](JobResult<bool> result) { done(result.value.value_or(false)); });
}

void CKorvelDlg::StepProgress() {
    ShowProgressFrame(m_progressFrame % kProgressFrames);
    ++m_progressFrame;
}

void CKorvelDlg::ShowProgressFrame(int frame) {
    m_progress->setPixmap(QPixmap(Skin().PicturePath(QStringLiteral("jdt%1.bmp").arg(frame + 1))));
}

void CKorvelDlg::LoadWorkingFile() {
    auto lock = m_services.store.EditingConfig().Lock();
    ReleaseEditingConfig(m_services.store);
    LoadProfileFile(m_services.store, WorkingFile(m_services.paths.DocumentsDirectory()));
}

void CKorvelDlg::FollowHandedOver(const std::string& command,
                                  const std::filesystem::path& documents) {
    if (m_shutDown) {
        return;
    }
    if (command == "profile") {
        ShowActiveProfile();
    } else if (command == "lighting") {
        m_lightingPanel->ReadAll();
    } else if (command == "import" && !m_modified) {
        // Unsaved edits stay as they are; otherwise the window shows what was imported: the
        // working file the import wrote when it shares the window's, else the keyboard itself.
        const std::filesystem::path own = m_services.paths.DocumentsDirectory();
        std::error_code ignored;
        if (!documents.empty() && std::filesystem::equivalent(documents, own, ignored)) {
            LoadWorkingFile();
            SetModified(false);
            RefreshKeyGrid();
            emit reloaded();
        } else {
            OnReloadFromKeyboard();
        }
    }
}

}  // namespace korvel
