#include "gui/editors/korvel_dlg_macro.h"

#include <algorithm>
#include <array>

#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "gui/editors/cycles_field.h"
#include "gui/editors/editor_controls.h"
#include "gui/editors/macro_action_table.h"
#include "gui/editors/macro_work_area.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "model/macros/macro_use.h"
#include "ports/prompts.h"
#include "text/text_table.h"

namespace korvel {
namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");

struct ButtonInfo {
    int id;
    const char* entry;
    const char* caption;
};
constexpr ButtonInfo kButtons[] = {
    {kMacroAdd, "FUNC_ADD", nullptr},
    {kMacroDelete, "FUNC_DELETE", nullptr},
    {kMacroRecord, "FUNC_RECORD", nullptr},
    {kMacroDeleteStep, "FUNC_DELETE2", "A_DELETE"},
    {kMacroClear, "FUNC_CLEAR", "A_CLEAR"},
    {kMacroTop, "FUNC_UP_TOP", "A_TOP"},
    {kMacroUp, "FUNC_UP", "A_UP"},
    {kMacroDown, "FUNC_DOWN", "A_DOWN"},
    {kMacroBottom, "FUNC_DOWN_BOTTOM", "A_BOTTOM"},
    {kEditorApply, "CONTROL2_APPLY", "PROFILE_APPLY"},
    {kEditorOk, "CONTROL_OK", "MACRO_OK"},
    {kEditorCancel, "CONTROL_CANCEL", "MACRO_CANCLE"},
};

}  // namespace

CKorvel_DlgMacro::CKorvel_DlgMacro(EditorHost& host, std::shared_ptr<const DialogSkin> skin,
                                   QWidget* parent)
    : CBaseDialog(parent, std::move(skin)), m_host(host) {
    setWindowModality(Qt::ApplicationModal);
}

CKorvel_DlgMacro::~CKorvel_DlgMacro() {
    if (m_open) {
        Finish();
    }
}

QString CKorvel_DlgMacro::Caption(const char* key) const {
    return Skin().Caption(key);
}

QWidget* CKorvel_DlgMacro::Control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

CPngButton* CKorvel_DlgMacro::AddButton(int id, const char* entry) {
    auto* button = new CPngButton(this);
    PlaceImageButton(button, Skin(), kButtonInfo, QString::fromLatin1(entry), &m_surfaces);
    m_controls[id] = button;
    return button;
}

// The editor's state pictures and the surfaces they fill.
std::array<std::pair<QPixmap*, const char*>, 5> CKorvel_DlgMacro::StatePictures() {
    return {{
        {&m_surfaces.normal, "macro_normal.jpg"},
        {&m_surfaces.hover, "macro_over.jpg"},
        {&m_surfaces.pressed, "macro_down.jpg"},
        {&m_surfaces.disabled, "macro_disable.jpg"},
        {&m_surfaces.checked, "macro_other.jpg"},
    }};
}

bool CKorvel_DlgMacro::Initialise() {
    if (!ApplySkin()) {
        return false;
    }
    const auto pictures = StatePictures();
    // Checked from their headers now, decoded when the editor first opens.
    for (const auto& [surface, file] : pictures) {
        if (!StatePictureReadable(Skin().PicturePath(QString::fromLatin1(file)))) {
            SetSkinError(Skin().PicturePath(QString::fromLatin1(file)));
            return false;
        }
    }
    for (const ButtonInfo& info : kButtons) {
        AddButton(info.id, info.entry);
    }
    const auto button = [this](int id) { return static_cast<CPngButton*>(Control(id)); };
    m_macroList = new QTableWidget(0, 1, this);
    m_macroList->verticalHeader()->hide();
    m_macroList->horizontalHeader()->setStretchLastSection(true);
    m_macroList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_macroList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_macroList->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed);
    m_macroList->setShowGrid(false);
    PlaceControl(m_macroList, Skin(), kButtonInfo, QStringLiteral("PROGRAM_LIST"));
    m_controls[kMacroEditorList] = m_macroList;
    MacroWorkControls controls;
    controls.table = new MacroActionTable(this, m_host.codec);
    PlaceControl(controls.table, Skin(), kButtonInfo, QStringLiteral("PROGRAM_LIST2"));
    m_controls[kMacroSteps] = controls.table;
    m_recordDelay = new QCheckBox(this);
    PlaceControl(m_recordDelay, Skin(), kButtonInfo, QStringLiteral("FUNC_RECORD_DELAY"));
    m_controls[kMacroRecordDelay] = m_recordDelay;
    controls.recordDelay = m_recordDelay;
    controls.record = button(kMacroRecord);
    controls.deleteStep = button(kMacroDeleteStep);
    controls.clear = button(kMacroClear);
    controls.top = button(kMacroTop);
    controls.up = button(kMacroUp);
    controls.down = button(kMacroDown);
    controls.bottom = button(kMacroBottom);
    m_work = new MacroWorkArea(this, kMacroEditorRules, m_host, controls);
    m_title = AddLabel("CONTROL_TITLE");
    QFont titleFont = m_title->font();
    titleFont.setPointSize(Skin().Style(SkinText::Title).pointSize);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_hint = AddLabel("MACRO_HINT");
    m_hint->setWordWrap(true);
    m_heading = AddLabel("KEY_SETTING");
    m_cyclesLabel = AddLabel("FUNC_CYCLES_PROMPT");
    m_cycles = MakeCyclesField(this);
    PlaceControl(m_cycles, Skin(), kButtonInfo, QStringLiteral("FUNC_CYCLES"));
    m_controls[kMacroCycles] = m_cycles;
    connect(m_cycles, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_work->List().SetCycles(TakeTypedCycles(*m_cycles, text));
        SetModified(true);
    });

    connect(m_work, &MacroWorkArea::changed, this, [this] { SetModified(true); });
    connect(m_work, &MacroWorkArea::recordingChanged, this, [this](bool recording) {
        for (int id : {kMacroAdd, kMacroDelete}) {
            Control(id)->setEnabled(!recording);
        }
    });
    connect(m_macroList, &QTableWidget::currentCellChanged, this,
            [this](int row) { OnRowChosen(row); });
    connect(m_macroList, &QTableWidget::cellChanged, this, [this](int row) { OnNameEdited(row); });
    connect(m_macroList->horizontalHeader(), &QHeaderView::sectionClicked, this, [this] {
        if (m_work->Recording()) {
            return;
        }
        m_work->List().SortByName(m_ascending);
        m_ascending = !m_ascending;
        FillMacroList();
        SetModified(true);
    });
    connect(button(kMacroAdd), &QAbstractButton::clicked, this, [this] {
        const int row = m_work->AddMacro();
        if (row >= 0) {
            FillMacroList();
            m_macroList->editItem(m_macroList->item(row, 0));
        }
    });
    connect(button(kMacroDelete), &QAbstractButton::clicked, this, [this] {
        if (m_work->DeleteCurrentMacro()) {
            FillMacroList();
        }
    });
    connect(button(kEditorApply), &QAbstractButton::clicked, this, &CKorvel_DlgMacro::Apply);
    connect(button(kEditorOk), &QAbstractButton::clicked, this, &CKorvel_DlgMacro::Ok);
    connect(button(kEditorCancel), &QAbstractButton::clicked, this, &CKorvel_DlgMacro::Cancel);
    return true;
}

void CKorvel_DlgMacro::DecodeSurfaces() {
    if (m_surfacesDecoded) {
        return;
    }
    m_surfacesDecoded = true;
    const auto pictures = StatePictures();
    for (const auto& [surface, file] : pictures) {
        *surface = LoadStateSurface(Skin().PicturePath(QString::fromLatin1(file)));
    }
}

void CKorvel_DlgMacro::OpenEditor() {
    DecodeSurfaces();
    if (m_open) {
        return;
    }
    m_open = true;
    m_host.editorOpened();
    for (const ButtonInfo& info : kButtons) {
        if (info.caption != nullptr) {
            auto* button = static_cast<CPngButton*>(Control(info.id));
            button->setText(Caption(info.caption));
            button->SetTextStyle(Skin().Style(SkinText::Button));
        }
    }
    auto* record = static_cast<CPngButton*>(Control(kMacroRecord));
    record->SetTextStyle(Skin().Style(SkinText::Button));
    record->SetTextMargins(18, 0, 0, 0);  // clear of the record mark drawn at its left
    m_recordDelay->setText(Caption("RECORD_DELAY"));
    m_macroList->setHorizontalHeaderLabels({Caption("MACRO_SETTING")});
    SetCaptions();
    m_work->Open();
    m_work->List().Select(0);
    FillMacroList();
    SetModified(false);
    if (QWidget* owner = parentWidget()) {
        move(owner->geometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

QLabel* CKorvel_DlgMacro::AddLabel(const char* entry) {
    auto* label = new QLabel(this);
    PlaceControl(label, Skin(), kButtonInfo, QString::fromLatin1(entry));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Skin().Style(SkinText::Label).colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

void CKorvel_DlgMacro::SetCaptions() {
    m_title->setText(Caption("PROFILE_MACRO"));
    m_hint->setText(Caption("MACRO_EDITOR_HINT"));
    m_heading->setText(Caption("MACRO_EDIT_TISHI"));
    m_cyclesLabel->setText(Caption("MACRO_CYCLES"));
    // What assistive technology calls the controls whose label lies beside them or that show
    // only a picture.
    const std::pair<QWidget*, const char*> names[] = {
        {m_macroList, "MACRO_SETTING"},
        {Control(kMacroSteps), "MACRO_EDIT_TISHI"},
        {m_cycles, "MACRO_CYCLES"},
        {m_recordDelay, "RECORD_DELAY"},
        {Control(kMacroAdd), "A11Y_MACRO_ADD"},
        {Control(kMacroDelete), "A11Y_MACRO_DELETE"},
    };
    for (const auto& [control, key] : names) {
        control->setAccessibleName(Caption(key));
    }
}

void CKorvel_DlgMacro::ShowCycles() {
    const bool chosen = m_work->List().Current() != MacroWorkingList::kNone;
    m_cycles->setEnabled(chosen);
    // A macro that never set its cycles plays once.
    m_cycles->setText(QString::number(chosen ? std::max<int>(m_work->List().Cycles(), 1) : 1));
}

void CKorvel_DlgMacro::FillMacroList() {
    m_filling = true;
    const MacroWorkingList& list = m_work->List();
    m_macroList->setRowCount(list.Count());
    for (int row = 0; row < list.Count(); ++row) {
        m_macroList->setItem(row, 0,
                             new QTableWidgetItem(QString::fromStdU16String(list.Item(row).name)));
    }
    m_macroList->setCurrentCell(list.Current(), 0);
    m_filling = false;
    m_work->ShowSteps();
    ShowCycles();
}

void CKorvel_DlgMacro::OnRowChosen(int row) {
    if (m_filling || row == m_work->List().Current()) {
        return;
    }
    if (m_work->Recording()) {
        m_host.prompts.ShowMessage(m_host.texts.Text(TextKey::MACRO_ERR_RECORD),
                                   MessageKind::Warning);
        m_filling = true;
        m_macroList->setCurrentCell(m_work->List().Current(), 0);
        m_filling = false;
        return;
    }
    m_work->FinishEdit();
    m_work->List().Select(row);
    m_work->ShowSteps();
    ShowCycles();
}

void CKorvel_DlgMacro::OnNameEdited(int row) {
    if (m_filling || row != m_work->List().Current()) {
        return;
    }
    const QString typed = m_macroList->item(row, 0)->text();
    const MacroWorkingList::Rename result = m_work->List().RenameCurrent(
        typed.toStdU16String(), true, m_host.texts.Text(TextKey::MACRO_DEFAULT_NAME));
    if (result == MacroWorkingList::Rename::Done) {
        SetModified(true);
    } else if (typed.toStdU16String() != m_work->List().CurrentRecord()->name) {
        m_host.prompts.ShowMessage(m_host.texts.Text(result == MacroWorkingList::Rename::SameName
                                                         ? TextKey::MACRO_ERR_SAME
                                                         : TextKey::MACRO_ERR_NAME_SYSTEM),
                                   MessageKind::Warning);
    }
    FillMacroList();
}

void CKorvel_DlgMacro::SetModified(bool modified) {
    m_modified = modified;
    Control(kEditorApply)->setEnabled(modified);
}

void CKorvel_DlgMacro::Apply() {
    if (!m_work->StopRecording() || !m_modified) {
        return;
    }
    if (m_host.activeProfile() < 0) {
        m_host.prompts.ShowMessage(m_host.texts.Text(TextKey::APPLY_PROMPT),
                                   MessageKind::Information);
        return;
    }
    m_work->ApplyMacros();
    m_host.refreshKeys();
    SetModified(false);
    m_host.markModified();
}

void CKorvel_DlgMacro::Ok() {
    Apply();
    if (!m_work->Recording()) {
        Finish();
    }
}

void CKorvel_DlgMacro::Cancel() {
    if (m_work->StopRecording()) {
        Finish();
    }
}

void CKorvel_DlgMacro::CancelEditor() {
    if (m_open) {
        m_work->AbortRecording();
        Finish();
    }
}

void CKorvel_DlgMacro::Finish() {
    m_work->AbortRecording();
    m_work->List().Load({});
    m_open = false;
    hide();
    m_host.editorClosed();
    emit closed();
}

void CKorvel_DlgMacro::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && !m_work->Recording()) {
        m_host.showHelp();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

void CKorvel_DlgMacro::closeEvent(QCloseEvent* event) {
    event->ignore();
    Cancel();
}

}  // namespace korvel
