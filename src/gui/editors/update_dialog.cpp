#include "gui/editors/update_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "gui/platform/shell_launcher.h"
#include "gui/skin/skin_palette.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "ports/prompts.h"
#include "text/text_table.h"

namespace korvel {
namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");
// Where a button's caption starts: right of the symbol on its face.
constexpr int kCaptionLeft = 34;

struct ButtonInfo {
    int id;
    const char* entry;
    const char* tip;
};
constexpr ButtonInfo kButtons[] = {
    {CKorvel_DlgUpdate::kOpen, "CONTROL_OPENButton", "UPDATE_OPEN"},
    {CKorvel_DlgUpdate::kUpdate, "CONTROL_UPButton", "UPDATE_START"},
    {CKorvel_DlgUpdate::kCancelUpdate, "CONTROL_CUPButton", "UPDATE_CANCEL"},
    {CKorvel_DlgUpdate::kBackup, "CONTROL_BACKUPButton", "UPDATE_BACKUP"},
};

QString Q(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// Whether the updater can be started at all: a regular file this user may execute.
bool IsExecutableFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
#ifdef _WIN32
    return true;
#else
    return ::access(file.c_str(), X_OK) == 0;
#endif
}

}  // namespace

CKorvel_DlgUpdate::CKorvel_DlgUpdate(UpdateDialogParts parts,
                                     std::shared_ptr<const DialogSkin> skin, QWidget* parent)
    : CBaseDialog(parent, std::move(skin)), m_parts(std::move(parts)) {}

QString CKorvel_DlgUpdate::Caption(const char* key) const {
    return Skin().Caption(key);
}

CPngButton* CKorvel_DlgUpdate::Button(int controlId) const {
    const auto it = m_buttons.find(controlId);
    return it == m_buttons.end() ? nullptr : it->second;
}

bool CKorvel_DlgUpdate::Initialise() {
    if (!m_laidOut) {
        if (!ApplySkin() || !LoadSurfaces()) {
            return false;
        }
        LayOut();
        m_laidOut = true;
    }
    SetTexts();
    ShowPath();
    return true;
}

bool CKorvel_DlgUpdate::LoadSurfaces() {
    const QString normal = Skin().PicturePath(QStringLiteral("update_normal.jpg"));
    const QString over = Skin().PicturePath(QStringLiteral("update_over.jpg"));
    m_surfaces.normal = LoadStateSurface(normal);
    m_surfaces.hover = LoadStateSurface(over);
    for (const auto& [surface, path] :
         {std::pair{&m_surfaces.normal, normal}, {&m_surfaces.hover, over}}) {
        if (surface->isNull() || surface->toImage().pixelColor(1, 1).alpha() == 0) {
            SetSkinError(QStringLiteral("The skin picture %1 cannot be read.")
                             .arg(QDir::toNativeSeparators(path)));
            return false;
        }
    }
    // Every state but the normal one is cut from the "over" picture.
    m_surfaces.pressed = m_surfaces.hover;
    m_surfaces.checked = m_surfaces.hover;
    m_surfaces.disabled = m_surfaces.normal;
    return true;
}

void CKorvel_DlgUpdate::LayOut() {
    for (const ButtonInfo& info : kButtons) {
        auto* button = new CPngButton(this);
        button->setObjectName(QString::fromLatin1(info.entry));
        PlaceImageButton(button, Skin(), kButtonInfo, QString::fromLatin1(info.entry), &m_surfaces);
        m_buttons[info.id] = button;
    }
    connect(Button(kOpen), &QAbstractButton::clicked, this, &CKorvel_DlgUpdate::ChooseUpdater);
    connect(Button(kUpdate), &QAbstractButton::clicked, this, &CKorvel_DlgUpdate::Update);
    connect(Button(kCancelUpdate), &QAbstractButton::clicked, this,
            &CKorvel_DlgUpdate::CancelUpdate);
    connect(Button(kBackup), &QAbstractButton::clicked, this, &CKorvel_DlgUpdate::Backup);

    m_pathLabel = new QLabel(this);
    m_pathLabel->setObjectName(QStringLiteral("CONTROL_UPStatic"));
    m_pathLabel->setStyleSheet(
        QStringLiteral("color: #e4e4e4; background: transparent; padding: 0 10px;"));
    m_pathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PlaceControl(m_pathLabel, Skin(), kButtonInfo, QStringLiteral("CONTROL_UPStatic"));

    // Positioned only, as the skin asks; it is never shown.
    m_combo = new QComboBox(this);
    PlaceControl(m_combo, Skin(), kButtonInfo, QStringLiteral("CONTROL_UPCombox"));
    m_combo->hide();

    auto* title = new QLabel(this);
    title->setObjectName(QStringLiteral("UPDATE_TITLE"));
    title->setStyleSheet(
        QStringLiteral("color: #e4e4e4; background: transparent; font-size: 11pt;"));
    title->setGeometry(52, 8, 300, 28);
}

void CKorvel_DlgUpdate::SetTexts() {
    setWindowTitle(Caption("UPDATE_TITLE"));
    m_combo->setAccessibleName(Caption("UPDATE_OPEN"));
    if (auto* title = findChild<QLabel*>(QStringLiteral("UPDATE_TITLE"))) {
        title->setText(Caption("UPDATE_TITLE"));
    }
    for (const ButtonInfo& info : kButtons) {
        CPngButton* button = Button(info.id);
        button->SetTooltip(Caption(info.tip));
        // The faces carry only a symbol at their left; the action is named beside it (the
        // browse button keeps its symbol alone, the path beside it says what to choose).
        if (info.id != kOpen) {
            button->setText(Caption(info.tip));
            button->SetTextStyle(Skin().Style(SkinText::SmallButton),
                                 kTextVCenter | kTextSingleLine);
            button->SetTextMargins(kCaptionLeft, 6, 0, 0);
        }
    }
}

void CKorvel_DlgUpdate::ShowPath() {
    if (m_pathLabel == nullptr) {
        return;
    }
    const QString path = QDir::toNativeSeparators(Q(m_updaterPath));
    m_pathLabel->setText(path.isEmpty() ? Caption("UPDATE_NO_FILE") : path);
    m_pathLabel->setToolTip(path);
    m_pathLabel->repaint();
}

void CKorvel_DlgUpdate::ChooseUpdater() {
    std::optional<std::filesystem::path> chosen;
    if (m_parts.chooseUpdater) {
        chosen = m_parts.chooseUpdater(this, m_parts.packageFolder);
    } else {
        const QString file = QFileDialog::getOpenFileName(
            this, Caption("UPDATE_OPEN"), Q(m_parts.packageFolder), QString(), nullptr,
            QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly);
        if (!file.isEmpty()) {
            chosen = FsPath(file);
        }
    }
    // A cancelled picker forgets the earlier choice, as choosing nothing.
    m_updaterPath = chosen.value_or(std::filesystem::path());
    ShowPath();
}

bool CKorvel_DlgUpdate::Update() {
    std::error_code error;
    if (m_updaterPath.empty() || !std::filesystem::exists(m_updaterPath, error)) {
        m_parts.prompts.ShowMessage(m_parts.texts.Text(TextKey::MAIN_UPDATE_ERROR_TEXT),
                                    MessageKind::Error);
        return false;
    }
    // Checked before the keyboard is asked: a keyboard in its boot loader waits for an updater.
    if (!IsExecutableFile(m_updaterPath)) {
        m_parts.prompts.ShowMessage(m_parts.texts.Text(TextKey::MAIN_SHELL_ERROR_TEXT),
                                    MessageKind::Error);
        return false;
    }
    if (m_asking) {
        return false;
    }
    m_asking = true;
    Button(kUpdate)->setEnabled(false);
    const QString program = Q(m_updaterPath);
    QPointer<CKorvel_DlgUpdate> self(this);
    m_parts.enterBoot([self, program](bool entered) {
        if (self != nullptr) {
            self->StartUpdater(entered, program);
        }
    });
    return true;
}

void CKorvel_DlgUpdate::StartUpdater(bool enteredBoot, const QString& program) {
    m_asking = false;
    Button(kUpdate)->setEnabled(true);
    bool started = false;
    if (!enteredBoot) {
        m_parts.prompts.ShowMessage(m_parts.texts.Text(TextKey::MAIN_BOOT_ERROR_TEXT),
                                    MessageKind::Error);
    } else {
        m_updaterPath.clear();
        ShowPath();
        started = m_parts.launcher.StartProgram(program, QString());
        if (!started) {
            m_parts.prompts.ShowMessage(m_parts.texts.Text(TextKey::MAIN_SHELL_ERROR_TEXT),
                                        MessageKind::Error);
        } else {
            reject();
        }
    }
    emit updateFinished(started);
}

void CKorvel_DlgUpdate::CancelUpdate() {
    m_updaterPath.clear();
    ShowPath();
    reject();
}

void CKorvel_DlgUpdate::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        reject();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

bool CKorvel_DlgUpdate::Backup() {
    std::optional<std::filesystem::path> chosen;
    if (m_parts.chooseBackupFile) {
        chosen = m_parts.chooseBackupFile(this);
    } else {
        // In the profile folder, where the profile manager and Import look first.
        EnsureProfileDirectory(m_parts.documents);
        QFileDialog dialog(this, Caption("UPDATE_BACKUP"), Q(ProfileDirectory(m_parts.documents)),
                           Caption("PROFILE_FILE_FILTER") + QStringLiteral(" (*.kvp);;") +
                               Caption("ALL_FILES_FILTER") + QStringLiteral(" (*)"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("kvp"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = FsPath(dialog.selectedFiles().first());
        }
    }
    if (!chosen) {
        return false;
    }
    // The configuration the program holds, not the keyboard's: this works unplugged as well.
    const bool written =
        SaveProfileFile(m_parts.store, true, *chosen).status == FileWriteResult::Status::Ok;
    m_parts.prompts.ShowMessage(m_parts.texts.Text(written ? TextKey::MAIN_UPDATE_BACKUP_OK
                                                           : TextKey::MAIN_UPDATE_BACKUP_NG),
                                written ? MessageKind::Information : MessageKind::Error);
    return written;
}

}  // namespace korvel
