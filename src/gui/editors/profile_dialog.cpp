#include "gui/editors/profile_dialog.h"

#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>

#include "gui/editors/profile_file_chooser.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "ports/settings_store.h"
#include "text/text_table.h"

namespace korvel {
namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");
constexpr int kOnboardRows = 3;
constexpr int kFileRole = Qt::UserRole;
// Where the dialog's ground is sampled (from its bottom-left corner), and how far a disabled
// button fades into it.
constexpr int kGroundSample = 4;
constexpr int kFadeAlpha = 150;

struct ButtonInfo {
    int id;
    const char* entry;
    const char* caption;  // drawn on the face; null: the face shows a glyph and this is its tip
    const char* tip;
};
constexpr ButtonInfo kButtons[] = {
    {CKorvel_DlgProfile::kAdd, "FUNC_ADD", nullptr, "PROFILE_ADD_TIP"},
    {CKorvel_DlgProfile::kLoad, "FUNC_LOAD", nullptr, "PROFILE_LOAD_TIP"},
    {CKorvel_DlgProfile::kDelete, "FUNC_DELETE", nullptr, "PROFILE_DELETE_TIP"},
    {CKorvel_DlgProfile::kApply, "CONTROL2_APPLY", "PROFILE_APPLY", nullptr},
    {CKorvel_DlgProfile::kOk, "CONTROL_OK", "PROFILE_OK", nullptr},
    {CKorvel_DlgProfile::kCancel, "CONTROL_CANCEL", "PROFILE_CANCLE", nullptr},
};

QString Q(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// The drive and folder of a file, ending in a separator, as the folder column shows it.
QString FolderText(const std::filesystem::path& file) {
    return QDir::toNativeSeparators(Q(file.parent_path()) + QLatin1Char('/'));
}

}  // namespace

CKorvel_DlgProfile::CKorvel_DlgProfile(ProfileDialogParts parts,
                                       std::shared_ptr<const DialogSkin> skin, QWidget* parent)
    : CBaseDialog(parent, std::move(skin)), m_parts(std::move(parts)) {}

QString CKorvel_DlgProfile::Caption(const char* key) const {
    return Skin().Caption(key);
}

bool CKorvel_DlgProfile::Initialise() {
    if (!ApplySkin() || !LoadSurfaces()) {
        return false;
    }
    LayOut();
    SetTexts();
    FillOnboardRows();
    FillKeptRows();
    CheckRow(m_parts.activeProfile());
    SetModified(false);
    return true;
}

bool CKorvel_DlgProfile::LoadSurfaces() {
    struct Picture {
        QPixmap* surface;
        const char* file;
    };
    const Picture pictures[] = {{&m_surfaces.normal, "Profile_normal.jpg"},
                                {&m_surfaces.hover, "Profile_over.jpg"},
                                {&m_surfaces.pressed, "Profile_down.jpg"},
                                {&m_surfaces.disabled, "Profile_down.jpg"},
                                {&m_surfaces.checked, "Profile_down.jpg"}};
    for (const Picture& picture : pictures) {
        const QString path = Skin().PicturePath(QString::fromLatin1(picture.file));
        *picture.surface = LoadStateSurface(path);
        if (picture.surface->isNull()) {
            SetSkinError(QStringLiteral("The skin picture %1 cannot be read.")
                             .arg(QDir::toNativeSeparators(path)));
            return false;
        }
    }
    // The pressed face would read as active on a button that cannot be used: a disabled button
    // shows its normal face faded into the dialog's ground instead.
    m_surfaces.disabled = m_surfaces.normal;
    QPainter fade(&m_surfaces.disabled);
    const qreal scale = m_surfaces.normal.devicePixelRatio();
    QColor ground = m_surfaces.normal.toImage().pixelColor(
        QPoint(kGroundSample, height() - kGroundSample) * scale);
    ground.setAlpha(kFadeAlpha);
    fade.fillRect(QRectF(QPointF(0, 0), m_surfaces.disabled.deviceIndependentSize()), ground);
    return true;
}

void CKorvel_DlgProfile::LayOut() {
    for (const ButtonInfo& info : kButtons) {
        auto* button = new CPngButton(this);
        button->setObjectName(QString::fromLatin1(info.entry));
        PlaceImageButton(button, Skin(), kButtonInfo, QString::fromLatin1(info.entry), &m_surfaces);
        m_buttons[info.id] = button;
    }
    connect(Button(kAdd), &QAbstractButton::clicked, this, &CKorvel_DlgProfile::AddNewFile);
    connect(Button(kLoad), &QAbstractButton::clicked, this, &CKorvel_DlgProfile::LoadFile);
    connect(Button(kDelete), &QAbstractButton::clicked, this, &CKorvel_DlgProfile::DeleteSelected);
    connect(Button(kApply), &QAbstractButton::clicked, this, &CKorvel_DlgProfile::Apply);
    connect(Button(kOk), &QAbstractButton::clicked, this, [this] {
        Apply();
        accept();
    });
    connect(Button(kCancel), &QAbstractButton::clicked, this, [this] {
        SetModified(false);
        reject();
    });

    m_title = new QLabel(this);
    m_title->setStyleSheet(
        QStringLiteral("color: #e4e4e4; background: transparent; font-size: 11pt;"));
    PlaceControl(m_title, Skin(), kButtonInfo, QStringLiteral("CONTROL_TITLE"));

    m_list = new QTableWidget(0, 3, this);
    m_list->setObjectName(QStringLiteral("PROGRAM_LIST"));
    PlaceControl(m_list, Skin(), kButtonInfo, QStringLiteral("PROGRAM_LIST"));
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->setColumnWidth(kColumnActive, 60);
    m_list->setColumnWidth(kColumnName, 120);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideMiddle);
    // Rows are chosen with the mouse, or reached by Tab and chosen with the arrow keys.
    m_list->setFocusPolicy(Qt::TabFocus);
    connect(m_list, &QTableWidget::cellChanged, this, &CKorvel_DlgProfile::OnItemChanged);
    connect(m_list, &QTableWidget::itemSelectionChanged, this,
            &CKorvel_DlgProfile::UpdateDeleteButton);
    UpdateDeleteButton();
}

void CKorvel_DlgProfile::SetTexts() {
    setWindowTitle(Caption("PROFILE_MANAGER_TITLE"));
    m_title->setText(Caption("PROFILE_MANAGER_TITLE"));
    for (const ButtonInfo& info : kButtons) {
        CPngButton* button = Button(info.id);
        if (info.caption != nullptr) {
            button->setText(Caption(info.caption));
            button->SetTextStyle(Skin().Style(SkinText::Button));
        }
        if (info.tip != nullptr) {
            button->SetTooltip(Caption(info.tip));
        }
    }
    m_list->setHorizontalHeaderLabels({Caption("PROFILE_COLUMN_ACTIVE"),
                                       Caption("PROFILE_COLUMN_NAME"),
                                       Caption("PROFILE_COLUMN_FOLDER")});
    m_list->setAccessibleName(Caption("PROFILE_MANAGER_TITLE"));
}

void CKorvel_DlgProfile::FillOnboardRows() {
    const std::filesystem::path working = WorkingFile(m_parts.documents);
    const char* names[kOnboardRows] = {"PROFILE_1", "PROFILE_2", "PROFILE_3"};
    for (const char* name : names) {
        AppendRow(Caption(name), working, true);
    }
}

void CKorvel_DlgProfile::FillKeptRows() {
    // The list is kept with the onboard rows first; the files a user added follow them.
    const std::vector<std::filesystem::path> kept = ReadProfileList(m_parts.settings);
    for (std::size_t row = kOnboardRows; row < kept.size(); ++row) {
        AppendRow(Q(kept[row].stem()), kept[row], false);
    }
}

void CKorvel_DlgProfile::KeepList() {
    std::vector<std::filesystem::path> files;
    for (int row = 0; row < m_list->rowCount(); ++row) {
        files.push_back(RowFile(row));
    }
    WriteProfileList(m_parts.settings, files);
}

void CKorvel_DlgProfile::AppendRow(const QString& name, const std::filesystem::path& file,
                                   bool onboard) {
    const QSignalBlocker block(m_list);
    const int row = m_list->rowCount();
    m_list->insertRow(row);
    auto* check = new QTableWidgetItem;
    check->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    check->setCheckState(Qt::Unchecked);
    check->setData(kFileRole, Q(file));
    check->setToolTip(onboard ? QString() : Caption("PROFILE_FILE_CHECK_TIP"));
    m_list->setItem(row, kColumnActive, check);
    auto* nameItem = new QTableWidgetItem(name);
    nameItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    m_list->setItem(row, kColumnName, nameItem);
    auto* folderItem = new QTableWidgetItem(FolderText(file));
    folderItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    folderItem->setToolTip(QDir::toNativeSeparators(Q(file)));
    m_list->setItem(row, kColumnFolder, folderItem);
}

CPngButton* CKorvel_DlgProfile::Button(int controlId) const {
    const auto it = m_buttons.find(controlId);
    return it == m_buttons.end() ? nullptr : it->second;
}

int CKorvel_DlgProfile::CheckedRow() const {
    for (int row = 0; row < m_list->rowCount(); ++row) {
        if (m_list->item(row, kColumnActive)->checkState() == Qt::Checked) {
            return row;
        }
    }
    return -1;
}

void CKorvel_DlgProfile::CheckRow(int row) {
    const QSignalBlocker block(m_list);
    for (int r = 0; r < m_list->rowCount(); ++r) {
        m_list->item(r, kColumnActive)->setCheckState(r == row ? Qt::Checked : Qt::Unchecked);
    }
}

std::filesystem::path CKorvel_DlgProfile::RowFile(int row) const {
    return std::filesystem::path(
        m_list->item(row, kColumnActive)->data(kFileRole).toString().toStdU16String());
}

void CKorvel_DlgProfile::OnItemChanged(int row, int column) {
    if (column != kColumnActive) {
        return;
    }
    // At most one row is checked: checking one unchecks the rest.
    if (m_list->item(row, kColumnActive)->checkState() == Qt::Checked) {
        CheckRow(row);
    }
    SetModified(true);
}

void CKorvel_DlgProfile::AddNewFile() {
    EnsureProfileDirectory(m_parts.documents);
    // PROFILE_NEW starts with a separator: the suggested name lies in the profile folder.
    std::u16string name = Caption("PROFILE_NEW").toStdU16String();
    while (!name.empty() && (name.front() == u'\\' || name.front() == u'/')) {
        name.erase(0, 1);
    }
    const auto file =
        m_parts.chooser.ChooseNewFile(this, ProfileDirectory(m_parts.documents) / name);
    if (!file) {
        return;
    }
    // A file that cannot be written still gets its row; applying it then says so.
    CreateDefaultConfig(m_parts.store, *file, 0, false);
    AppendRow(Q(file->stem()), *file, false);
    KeepList();
    SetModified(true);
}

void CKorvel_DlgProfile::LoadFile() {
    EnsureProfileDirectory(m_parts.documents);
    const auto file = m_parts.chooser.ChooseExistingFile(this, ProfileDirectory(m_parts.documents));
    if (!file) {
        return;
    }
    AppendRow(Q(file->stem()), *file, false);
    KeepList();
    SetModified(true);
}

void CKorvel_DlgProfile::DeleteSelected() {
    const int row = m_list->currentRow();
    // The onboard profiles are the keyboard's own: only files leave the list.
    if (row < kOnboardRows || !m_list->item(row, kColumnActive)->isSelected()) {
        return;
    }
    m_list->removeRow(row);
    KeepList();
    SetModified(true);
}

void CKorvel_DlgProfile::UpdateDeleteButton() {
    const int row = m_list->currentRow();
    Button(kDelete)->setEnabled(row >= kOnboardRows &&
                                !m_list->selectionModel()->selectedRows().isEmpty());
}

bool CKorvel_DlgProfile::Apply() {
    KeepList();
    const int target = CheckedRow();
    bool done = true;
    if (target >= kOnboardRows) {
        done = m_parts.importFile(RowFile(target));
    } else if (target >= 0) {
        done = m_parts.switchProfile(target);
    }
    if (done && target >= kOnboardRows) {
        // The list shows what the keyboard now plays; a switch shows it once it has ended.
        CheckRow(m_parts.activeProfile());
    }
    SetModified(!done);
    return done;
}

void CKorvel_DlgProfile::SetModified(bool modified) {
    m_modified = modified;
    Button(kApply)->setEnabled(modified);
}

void CKorvel_DlgProfile::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && m_parts.help) {
        m_parts.help();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

}  // namespace korvel
