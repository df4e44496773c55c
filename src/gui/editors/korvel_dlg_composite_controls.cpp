// The key editor's controls: its pictures, buttons, labels and captions, laid out from its skin.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "gui/editors/cycles_field.h"
#include "gui/editors/editor_controls.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/editors/macro_action_table.h"
#include "gui/editors/macro_work_area.h"
#include "gui/platform/key_capture.h"
#include "gui/platform/shell_launcher.h"
#include "gui/widgets/keyboard_focus.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "model/keys/key_entry.h"
#include "ports/prompts.h"
#include "text/text_table.h"

namespace korvel {
namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");
constexpr char16_t kReadOnlyText[] =
    u"The keyboard's active profile is unknown: this key cannot be changed now.";
constexpr char16_t kNoOnScreenKeyboard[] =
    u"No on-screen keyboard is installed (for example onboard).";

struct ButtonInfo {
    int id;
    const char* entry;
    const char* caption;  // language key, or null
};
constexpr ButtonInfo kPageButtons[] = {
    {kPageSingleKey, "CONTROL_KEY", "SINGLE_KEY"},
    {kPageMacro, "CONTROL_MACRO", "MACRO_SETTING"},
    {kPageMedia, "CONTROL_MEDIA", "MULTI_MEDIA"},
    {kPageFunction, "CONTROL_FUNCTION", "FUNCTION_KEY"},
};
constexpr ButtonInfo kBarButtons[] = {
    {kCompositeClear, "CONTROL_CLEAR", nullptr},
    {kOnScreenKeyboard, "CONTROL_OSK", nullptr},
    {kEditorOk, "CONTROL_OK", "MACRO_OK"},
    {kEditorCancel, "CONTROL_CANCEL", "MACRO_CANCLE"},
    {kEditorApply, "CONTROL2_APPLY", "PROFILE_APPLY"},
};
constexpr ButtonInfo kMacroButtons[] = {
    {kMacroAdd, "FUNC_MACRO_ADD", nullptr},
    {kMacroDelete, "FUNC_MACRO_DELETE", nullptr},
    {kMacroRecord, "FUNC_MACRO_RECORD", "A_RECORD"},
    {kMacroDeleteStep, "FUNC_MACRO_DELETE2", "A_DELETE"},
    {kMacroClear, "FUNC_MACRO_CLEAR", "A_CLEAR"},
    {kMacroTop, "FUNC_MACRO_UP_TOP", "A_TOP"},
    {kMacroUp, "FUNC_MACRO_UP", "A_UP"},
    {kMacroDown, "FUNC_MACRO_DOWN", "A_DOWN"},
    {kMacroBottom, "FUNC_MACRO_DOWN_BOTTOM", "A_BOTTOM"},
};
struct LabelInfo {
    int id;
    const char* entry;
    const char* caption;
};
constexpr LabelInfo kLabels[] = {
    {kHeadingLabel, "KEY_SETTING", "KEY_SETTING_TISHI"},
    {kMacroNameLabel, "MARCO_NAME_SETTING", "MACRO_NAME_SETTING"},
    {kSingleKeyLabel, "TISHI_SINGLE_STATIC", "SINGLE_STATIC"},
    {kMediaLabel, "MEDIA_SETTING_TISHI", "MEDIA_EDIT_TISHI"},
    {kFunctionLabel, "FUNCTION_KEY_SETTING_TISHI", "FUNCTION_TISHI"},
    {kMacroCyclesLabel, "FUNC_MACRO_CYCLES_PROMPT", "MACRO_CYCLES"},
    {kMacroRecordDelayLabel, "FUNC_MACRO_RECORD_DELAY2", "RECORD_DELAY"},
};

// The controls each page shows (the page buttons, Clear, the bar and the heading always show).

}  // namespace

bool Korvel_DlgComposite::LoadPictures(bool decode) {
    struct Picture {
        QPixmap* surface;
        const char* file;
    };
    const Picture pictures[] = {
        {&m_keySet.normal, "key_normal.jpg"},
        {&m_keySet.hover, "key_over.jpg"},
        {&m_keySet.pressed, "key_down.jpg"},
        {&m_macroSet.normal, "macro_normal.jpg"},
        {&m_macroSet.hover, "macro_over.jpg"},
        {&m_macroSet.pressed, "macro_down.jpg"},
        {&m_macroSet.disabled, "macro_disable.jpg"},
        {&m_macroOnlySet.normal, "macro2_normal.jpg"},
        {&m_macroOnlySet.hover, "macro2_over.jpg"},
        {&m_macroOnlySet.pressed, "macro2_down.jpg"},
        {&m_macroOnlySet.disabled, "macro2_disable.jpg"},
        {&m_mediaSet.normal, "media_normal.jpg"},
        {&m_mediaSet.hover, "media_over.jpg"},
        {&m_mediaSet.pressed, "media_down.jpg"},
        {&m_functionSet.normal, "function_normal.jpg"},
        {&m_functionSet.hover, "function_over.jpg"},
        {&m_functionSet.pressed, "function_down.jpg"},
    };
    for (const Picture& picture : pictures) {
        const QString file = Skin().PicturePath(QString::fromLatin1(picture.file));
        if (!decode) {
            if (!StatePictureReadable(file)) {
                SetSkinError(file);
                return false;
            }
            continue;
        }
        *picture.surface = LoadStateSurface(file);
        if (picture.surface->isNull()) {
            SetSkinError(file);
            return false;
        }
    }
    if (!decode) {
        return true;
    }
    m_picturesDecoded = true;
    // Sets without a disabled picture show their normal one; a checked button looks pressed.
    for (SkinSurfaces* set : {&m_keySet, &m_mediaSet, &m_functionSet}) {
        set->disabled = set->normal;
    }
    for (SkinSurfaces* set :
         {&m_keySet, &m_macroSet, &m_macroOnlySet, &m_mediaSet, &m_functionSet}) {
        set->checked = set->pressed;
    }
    return true;
}

CPngButton* Korvel_DlgComposite::AddButton(int id, const char* entry,
                                           const SkinSurfaces* surfaces) {
    auto* button = new CPngButton(this);
    PlaceImageButton(button, Skin(), kButtonInfo, QString::fromLatin1(entry), surfaces);
    m_controls[id] = button;
    return button;
}

QLabel* Korvel_DlgComposite::AddLabel(int id, const char* entry) {
    auto* label = new QLabel(this);
    PlaceControl(label, Skin(), kButtonInfo, QString::fromLatin1(entry));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Skin().Style(SkinText::Label).colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setWordWrap(true);
    m_controls[id] = label;
    return label;
}

void Korvel_DlgComposite::BuildControls() {
    m_page = AddButton(kCompositePage, "CONTROL_MASK", &m_keySet);
    MakeShowOnly(*m_page);
    MakeShowOnly(*AddButton(kCompositeTitle, "CONTROL_TITLE", &m_keySet));
    for (const ButtonInfo& info : kPageButtons) {
        CPngButton* button = AddButton(info.id, info.entry, &m_keySet);
        const KeyPage page = info.id == kPageSingleKey ? KeyPage::SingleKey
                             : info.id == kPageMacro   ? KeyPage::Macro
                             : info.id == kPageMedia   ? KeyPage::Media
                                                       : KeyPage::Function;
        connect(button, &QAbstractButton::clicked, this, [this, page] { ShowPage(page); });
    }
    for (const ButtonInfo& info : kBarButtons) {
        AddButton(info.id, info.entry, &m_keySet);
    }
    for (const LabelInfo& info : kLabels) {
        AddLabel(info.id, info.entry);
    }
    m_keyDisplay = new QLineEdit(this);
    m_keyDisplay->setReadOnly(true);
    // Reached by Tab, it takes keys again (see LeaveOnSecondPress).
    m_keyDisplay->setFocusPolicy(Qt::StrongFocus);
    m_keyDisplay->installEventFilter(this);
    m_keyDisplay->setAlignment(Qt::AlignCenter);
    PlaceControl(m_keyDisplay, Skin(), kButtonInfo, QStringLiteral("FUNC_KEY_INPUT"));
    m_controls[kSingleKeyDisplay] = m_keyDisplay;
    m_mediaList = new QComboBox(this);
    PlaceControl(m_mediaList, Skin(), kButtonInfo, QStringLiteral("FUNC_MEDIA_SELECT"));
    m_controls[kMediaList] = m_mediaList;
    m_functionList = new QComboBox(this);
    PlaceControl(m_functionList, Skin(), kButtonInfo, QStringLiteral("FUNC_FUNCTION_SELECT"));
    m_controls[kFunctionList] = m_functionList;
    connect(m_mediaList, &QComboBox::activated, this, [this](int index) {
        if (m_editing.ChooseMedia(index)) {
            ShowChoices();
            SetApplyEnabled(true);
        }
    });
    connect(m_functionList, &QComboBox::activated, this, [this](int index) {
        if (m_editing.ChooseFunction(index)) {
            ShowChoices();
            SetApplyEnabled(true);
        }
    });
    BuildMacroPage();

    m_keyCapture = new KeyCapture(this);
    connect(m_keyCapture, &KeyCapture::keyEvent, this, &Korvel_DlgComposite::OnSingleKey);
    connect(static_cast<CPngButton*>(Control(kCompositeClear)), &QAbstractButton::clicked, this,
            &Korvel_DlgComposite::Clear);
    connect(static_cast<CPngButton*>(Control(kOnScreenKeyboard)), &QAbstractButton::clicked, this,
            [this] {
                // Nothing installed, or it would not start: said, never a click that does
                // nothing.
                if (m_host.onScreenKeyboard.isEmpty() ||
                    !m_host.launcher.StartProgram(m_host.onScreenKeyboard, QString())) {
                    m_host.prompts.ShowMessage(kNoOnScreenKeyboard, MessageKind::Warning);
                }
            });
    connect(static_cast<CPngButton*>(Control(kEditorApply)), &QAbstractButton::clicked, this,
            &Korvel_DlgComposite::Apply);
    connect(static_cast<CPngButton*>(Control(kEditorOk)), &QAbstractButton::clicked, this, [this] {
        Apply();
        Finish();
    });
    connect(static_cast<CPngButton*>(Control(kEditorCancel)), &QAbstractButton::clicked, this,
            &Korvel_DlgComposite::CancelEditor);
}

void Korvel_DlgComposite::BuildMacroPage() {
    MacroWorkControls controls;
    for (const ButtonInfo& info : kMacroButtons) {
        AddButton(info.id, info.entry, &m_macroSet);
    }
    const auto button = [this](int id) { return static_cast<CPngButton*>(Control(id)); };
    controls.record = button(kMacroRecord);
    controls.deleteStep = button(kMacroDeleteStep);
    controls.clear = button(kMacroClear);
    controls.top = button(kMacroTop);
    controls.up = button(kMacroUp);
    controls.down = button(kMacroDown);
    controls.bottom = button(kMacroBottom);
    controls.table = new MacroActionTable(this, m_host.codec);
    PlaceControl(controls.table, Skin(), kButtonInfo, QStringLiteral("FUNC_MACRO_LIST2"));
    m_controls[kMacroSteps] = controls.table;
    m_recordDelay = new QCheckBox(this);
    PlaceControl(m_recordDelay, Skin(), kButtonInfo, QStringLiteral("FUNC_MACRO_RECORD_DELAY"));
    m_controls[kMacroRecordDelay] = m_recordDelay;
    controls.recordDelay = m_recordDelay;
    m_macroList = new QComboBox(this);
    m_macroList->setEditable(true);
    m_macroList->setInsertPolicy(QComboBox::NoInsert);
    m_macroList->lineEdit()->setMaxLength(kMaxMacroNameChars);
    PlaceControl(m_macroList, Skin(), kButtonInfo, QStringLiteral("FUNC_MACRO_LIST"));
    m_controls[kMacroPageList] = m_macroList;
    m_cycles = MakeCyclesField(this);
    PlaceControl(m_cycles, Skin(), kButtonInfo, QStringLiteral("FUNC_MACRO_CYCLES"));
    m_controls[kMacroCycles] = m_cycles;

    m_work = new MacroWorkArea(this, kMacroPageRules, m_host, controls);
    connect(m_work, &MacroWorkArea::changed, this, [this] { SetApplyEnabled(true); });
    connect(m_work, &MacroWorkArea::recordingChanged, this, [this](bool recording) {
        for (int id : {kMacroAdd, kMacroDelete, kMacroPageList}) {
            Control(id)->setEnabled(!recording);
        }
    });
    connect(m_macroList, &QComboBox::currentIndexChanged, this,
            &Korvel_DlgComposite::OnMacroChosen);
    connect(m_macroList->lineEdit(), &QLineEdit::textEdited, this,
            &Korvel_DlgComposite::OnMacroNameTyped);
    connect(m_cycles, &QLineEdit::textEdited, this, &Korvel_DlgComposite::OnCyclesTyped);
    connect(button(kMacroAdd), &QAbstractButton::clicked, this, [this] {
        if (m_work->AddMacro() >= 0) {
            FillMacroCombo();
            ChooseCurrentMacro();
        }
    });
    connect(button(kMacroDelete), &QAbstractButton::clicked, this, [this] {
        if (m_work->DeleteCurrentMacro()) {
            FillMacroCombo();
        }
    });
}

QWidget* Korvel_DlgComposite::Control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void Korvel_DlgComposite::SetCaptions() {
    const auto style = [this](CPngButton* button) {
        button->SetTextStyle(Skin().Style(SkinText::Button));
    };
    for (const ButtonInfo& info : kPageButtons) {
        auto* button = static_cast<CPngButton*>(Control(info.id));
        button->setText(m_editing.MacroOnly() && info.id != kPageMacro ? QString()
                                                                       : Caption(info.caption));
        style(button);
    }
    for (const std::span<const ButtonInfo> list :
         {std::span<const ButtonInfo>(kBarButtons), std::span<const ButtonInfo>(kMacroButtons)}) {
        for (const ButtonInfo& info : list) {
            auto* button = static_cast<CPngButton*>(Control(info.id));
            if (info.caption != nullptr && info.id != kMacroRecord) {
                button->setText(Caption(info.caption));
                style(button);
            }
        }
    }
    auto* record = static_cast<CPngButton*>(Control(kMacroRecord));
    style(record);
    record->SetTextMargins(18, 0, 0, 0);  // clear of the record mark drawn at its left
    for (const LabelInfo& info : kLabels) {
        static_cast<QLabel*>(Control(info.id))->setText(Caption(info.caption));
    }
    if (m_editing.MacroOnly()) {
        static_cast<QLabel*>(Control(kHeadingLabel))->setText(Caption("MACRO_EDIT_TISHI"));
    }
    auto* heading = static_cast<QLabel*>(Control(kHeadingLabel));
    heading->setToolTip(QString());
    if (GKeyNumberOfSlot(m_editing.Slot()) != 0) {
        // The keyboard cannot play its G keys: this program does, and says so where it cannot.
        heading->setText(
            Caption(m_host.gKeysNotPlayed.isEmpty() ? "G_KEY_PLAYED" : "G_KEY_NOT_PLAYED"));
        heading->setToolTip(m_host.gKeysNotPlayed);
    }
    if (m_readOnly) {
        heading->setText(QString::fromStdU16String(kReadOnlyText));
    }
    static_cast<CPngButton*>(Control(kCompositeClear))
        ->SetTooltip(Caption("COMPOSITE_PROMPT_CLEAR"));
    // What assistive technology calls the controls whose label lies beside them or that show
    // only a picture.
    const std::pair<int, const char*> names[] = {
        {kSingleKeyDisplay, "SINGLE_KEY"},   {kMediaList, "MULTI_MEDIA"},
        {kFunctionList, "FUNCTION_KEY"},     {kMacroPageList, "MACRO_SETTING"},
        {kMacroSteps, "MACRO_EDIT_TISHI"},   {kMacroRecordDelay, "RECORD_DELAY"},
        {kMacroCycles, "MACRO_CYCLES"},      {kMacroAdd, "A11Y_MACRO_ADD"},
        {kMacroDelete, "A11Y_MACRO_DELETE"},
    };
    for (const auto& [id, key] : names) {
        Control(id)->setAccessibleName(Caption(key));
    }
    auto* osk = static_cast<CPngButton*>(Control(kOnScreenKeyboard));
    osk->SetTooltip(m_host.onScreenKeyboard.isEmpty()
                        ? QString::fromStdU16String(kNoOnScreenKeyboard)
                        : Caption("COMPOSITE_PROMPT_OSK"));
}

}  // namespace korvel
