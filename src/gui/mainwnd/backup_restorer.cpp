#include "gui/mainwnd/backup_restorer.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "base/text_encoding.h"
#include "gui/mainwnd/backup_before.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/window_parts.h"
#include "model/files/backup_folder.h"
#include "ports/prompts.h"
#include "sync/keyboard_backup.h"
#include "text/app_paths.h"

namespace korvel {
namespace {

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// "before an import", ... as the language file says it; the name's own word where it has none.
QString OperationText(const WindowParts& parts, const std::string& operation) {
    const std::u16string text = parts.CaptionOf("BACKUP_BEFORE_", operation);
    return text.empty() ? QString::fromStdString(operation) : Q(text);
}

// An automatic backup as the list shows it ("2026-12-11 09:30:15   before an import"); any other
// file by its name.
QString BackupLabel(const WindowParts& parts, const std::filesystem::path& file) {
    if (const std::optional<BackupEntry> entry = BackupEntryOf(file)) {
        return QString::fromStdString(entry->taken) + QStringLiteral("   ") +
               OperationText(parts, entry->operation);
    }
    return QString::fromStdU16String(file.filename().u16string());
}

}  // namespace

BackupRestorer::BackupRestorer(WindowParts& parts, QObject* parent)
    : QObject(parent), m_parts(parts) {}

void BackupRestorer::Choose() {
    const std::filesystem::path folder = BackupsFolder(m_parts.services.paths.DocumentsDirectory());
    QDialog dialog(&m_parts.window);
    dialog.setWindowTitle(Q(m_parts.Caption("BACKUP_LIST_TITLE")));
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->setSpacing(12);
    const std::vector<BackupEntry> entries = ListAutomaticBackups(folder);
    auto* heading = new QLabel(
        Q(m_parts.Caption(entries.empty() ? "BACKUP_LIST_EMPTY" : "BACKUP_LIST_HEADING")), &dialog);
    heading->setWordWrap(true);
    layout->addWidget(heading);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("backupList"));
    for (const BackupEntry& entry : entries) {
        auto* item = new QListWidgetItem(BackupLabel(m_parts, entry.file), list);
        item->setData(Qt::UserRole, QString::fromStdU16String(entry.file.u16string()));
    }
    list->setCurrentRow(0);
    list->setSpacing(3);
    list->setMinimumSize(440, 260);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* restore =
        buttons->addButton(Q(m_parts.Caption("BACKUP_RESTORE")), QDialogButtonBox::AcceptRole);
    restore->setEnabled(!entries.empty());
    QPushButton* other =
        buttons->addButton(Q(m_parts.Caption("BACKUP_OTHER_FILE")), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);

    std::filesystem::path chosen;
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (QListWidgetItem* item = list->currentItem()) {
            chosen = std::filesystem::path(item->data(Qt::UserRole).toString().toStdU16String());
            dialog.accept();
        }
    });
    connect(list, &QListWidget::itemDoubleClicked, buttons, &QDialogButtonBox::accepted);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(other, &QPushButton::clicked, &dialog, [&] {
        const QString file = QFileDialog::getOpenFileName(
            &dialog, QString(), QString::fromStdU16String(folder.u16string()),
            Q(m_parts.Caption("BACKUP_FILE_FILTER")) + QStringLiteral(" (*.json);;") +
                Q(m_parts.Caption("ALL_FILES_FILTER")) + QStringLiteral(" (*)"),
            nullptr, QFileDialog::DontUseNativeDialog);
        if (!file.isEmpty()) {
            chosen = std::filesystem::path(file.toStdU16String());
            dialog.accept();
        }
    });
    if (dialog.exec() == QDialog::Accepted && !chosen.empty()) {
        Restore(chosen);
    }
}

void BackupRestorer::Restore(const std::filesystem::path& file) {
    Prompts& prompts = m_parts.services.prompts;
    std::string error;
    auto backup =
        std::make_shared<std::optional<CompleteBackup>>(LoadCompleteBackupFile(file, error));
    if (!*backup) {
        prompts.ShowMessage(
            m_parts.CaptionWith("BACKUP_UNUSABLE", file.u16string() + u"\n" + Utf8ToUtf16(error)),
            MessageKind::Warning);
        return;
    }
    if (prompts.AskYesNo(
            m_parts.CaptionWith("BACKUP_CONFIRM", BackupLabel(m_parts, file).toStdU16String()),
            Answer::No) != Answer::Yes) {
        return;
    }
    const KeyCodec* codec = &m_parts.services.keyCodec;
    BackUpBefore(m_parts, kBackupBeforeRestore, [this, backup, codec] {
        m_parts.jobs.Submit<RestoreResult>(
            "restore",
            [backup, codec](JobContext& job) {
                return RestoreCompleteBackup(
                    job.Link(), **backup, *codec,
                    [&job](int done, int planned) { job.ReportProgress(done, planned); });
            },
            [this](JobResult<RestoreResult> result) {
                if (result.end == JobEnd::Busy) {
                    m_parts.ShowKeyboardHeld(result.busyHolder);
                    return;
                }
                if (!result.value || m_parts.Closing()) {
                    return;
                }
                const RestoreResult& restored = *result.value;
                const bool written = restored.outcome == RestoreOutcome::Restored ||
                                     restored.outcome == RestoreOutcome::CheckFailed ||
                                     restored.outcome == RestoreOutcome::WriteFailed;
                if (written) {
                    emit this->restored(restored.outcome == RestoreOutcome::Restored);
                }
                if (restored.outcome == RestoreOutcome::Restored) {
                    m_parts.services.prompts.ShowMessage(m_parts.Caption("BACKUP_RESTORED"),
                                                         MessageKind::Information);
                } else {
                    m_parts.services.prompts.ShowMessage(
                        m_parts.CaptionWith("BACKUP_RESTORE_FAILED",
                                            Utf8ToUtf16(DescribeRestore(restored))),
                        MessageKind::Warning);
                }
            },
            {}, true);
    });
}

}  // namespace korvel
