#include "gui/editors/korvel_dlg_composite.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <span>

#include "gui/editors/cycles_field.h"
#include "gui/editors/editor_controls.h"
#include "gui/editors/macro_work_area.h"
#include "gui/platform/key_capture.h"
#include "gui/widgets/png_button.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_entry_edit.h"
#include "model/macros/macro_use.h"
#include "ports/settings_store.h"
#include "text/text_table.h"

namespace korvel {
namespace {

constexpr int kSingleKeyControls[] = {kSingleKeyLabel, kSingleKeyDisplay};
constexpr int kMediaControls[] = {kMediaLabel, kMediaList};
constexpr int kFunctionControls[] = {kFunctionLabel, kFunctionList};
constexpr int kMacroControls[] = {
    kMacroNameLabel,  kMacroPageList,    kMacroAdd,         kMacroDelete,
    kMacroCycles,     kMacroCyclesLabel, kMacroSteps,       kMacroRecord,
    kMacroDeleteStep, kMacroClear,       kMacroTop,         kMacroUp,
    kMacroDown,       kMacroBottom,      kMacroRecordDelay, kMacroRecordDelayLabel};

}  // namespace

Korvel_DlgComposite::Korvel_DlgComposite(EditorHost& host, std::shared_ptr<const DialogSkin> skin,
                                         QWidget* parent)
    : CBaseDialog(parent, std::move(skin)), m_host(host) {
    setWindowModality(Qt::ApplicationModal);
}

Korvel_DlgComposite::~Korvel_DlgComposite() {
    if (m_open) {
        Finish();
    }
}

QString Korvel_DlgComposite::Caption(const char* key) const {
    return Skin().Caption(key);
}

bool Korvel_DlgComposite::Initialise() {
    if (!ApplySkin() || !LoadPictures(false)) {
        return false;
    }
    BuildControls();
    return true;
}

// The page pictures are only checked while the program starts (their headers); they are decoded
// when the editor first opens, so that an editor nobody opens costs no memory.
QPoint Korvel_DlgComposite::PlaceBeside(const QRect& b, const QSize& size, const QRect& screen) {
    const int w = size.width(), h = size.height();
    const int right = b.x() + b.width(), bottom = b.y() + b.height();
    const bool fitsRight = screen.x() + screen.width() - right >= w;
    const bool fitsLeft = b.x() - screen.x() >= w;
    const bool fitsBelow = screen.y() + screen.height() - bottom >= h;
    const bool fitsAbove = b.y() - screen.y() >= h;
    if (fitsRight && fitsBelow)
        return {right, bottom};
    if (fitsRight && fitsAbove)
        return {right, b.y() - h};
    if (fitsLeft && fitsBelow)
        return {b.x() - w, bottom};
    if (fitsLeft && fitsAbove)
        return {b.x() - w, b.y() - h};
    return {right, bottom};
}

void Korvel_DlgComposite::OpenForKey(int slot, bool macroOnly, const QRect& anchor) {
    if (!m_picturesDecoded) {
        LoadPictures(true);
    }
    if (m_open) {
        return;
    }
    m_open = true;
    m_host.editorOpened();
    m_profile = m_host.activeProfile();
    m_readOnly = m_profile < 0;

    m_mediaList->clear();
    for (int i = 0; i < kMediaKeys; ++i) {
        m_mediaList->addItem(QString::fromStdU16String(m_host.codec.MediaKeyName(i)));
    }
    m_functionList->clear();
    for (int i = 0; i < kFunctionKeys; ++i) {
        m_functionList->addItem(QString::fromStdU16String(m_host.codec.FunctionKeyName(i)));
    }

    KeyEntry entry;
    if (!m_readOnly) {
        const EditingHolder& editing = m_host.store.EditingConfig();
        auto lock = editing.Lock();
        if (const ConfigImage* image = editing.Image()) {
            entry = image->Entry(GlobalEntryIndex(m_profile, slot));
        }
    }
    m_editing.Open(slot, entry, macroOnly);
    // The macro list shows the key's macro, or nothing: a macro shown first is not a choice.
    m_work->Open();
    if (const std::uint16_t macro = m_editing.ShownMacro().macroId; macro != 0) {
        m_work->List().SelectById(macro);
    }
    FillMacroCombo();

    for (int id : {kPageSingleKey, kPageMedia, kPageFunction, kCompositeClear}) {
        Control(id)->setEnabled(!macroOnly);
    }
    const SkinSurfaces* frame = macroOnly ? &m_macroOnlySet : &m_keySet;
    for (int id : {kPageSingleKey, kPageMacro, kPageMedia, kPageFunction, kCompositeClear,
                   kCompositeTitle, kOnScreenKeyboard, kEditorOk, kEditorCancel, kEditorApply}) {
        static_cast<CPngButton*>(Control(id))->SetStatePictures(frame);
    }
    SetCaptions();
    // The title names the key being edited.
    auto* title = static_cast<CPngButton*>(Control(kCompositeTitle));
    title->setText(QString::fromStdU16String(m_host.codec.SlotLabel(slot)));
    title->SetTextStyle(Skin().Style(SkinText::Title), kTextVCenter | kTextSingleLine);
    title->SetTextMargins(40, 0, 0, 0);
    Control(kEditorOk)->setEnabled(!m_readOnly);

    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    move(PlaceBeside(anchor, size(), screen->geometry()));
    show();
    raise();
    activateWindow();
    ShowChoices();
    ShowPageControls();
    SetApplyEnabled(false);
}

void Korvel_DlgComposite::FillMacroCombo() {
    const QSignalBlocker quiet(m_macroList);
    m_macroList->clear();
    const MacroWorkingList& list = m_work->List();
    for (int i = 0; i < list.Count(); ++i) {
        m_macroList->addItem(QString::fromStdU16String(list.Item(i).name));
    }
    m_macroList->setCurrentIndex(list.Current());
    if (list.Current() == MacroWorkingList::kNone) {
        m_macroList->setEditText(QString());
    }
    ShowCycles();
    m_work->ShowSteps();
}

void Korvel_DlgComposite::ShowCycles() {
    m_cycles->setText(m_work->List().Current() == MacroWorkingList::kNone
                          ? QStringLiteral("1")
                          : QString::number(m_work->List().Cycles()));
}

void Korvel_DlgComposite::ChooseCurrentMacro() {
    const MacroRecord* macro = m_work->List().CurrentRecord();
    if (macro != nullptr && m_editing.ChooseMacro(macro->macroId, m_work->List().Cycles())) {
        SetApplyEnabled(true);
    }
}

void Korvel_DlgComposite::OnMacroChosen(int index) {
    m_work->FinishEdit();
    m_work->List().Select(index);
    ShowCycles();
    m_work->ShowSteps();
    ChooseCurrentMacro();
}

void Korvel_DlgComposite::OnMacroNameTyped(const QString& text) {
    MacroWorkingList& list = m_work->List();
    const bool wasEmpty = list.Count() == 0;
    list.RenameCurrent(text.toStdU16String(), false, {});
    if (wasEmpty) {
        // The name made the first macro: it is the one the user means for this key.
        FillMacroCombo();
        m_macroList->setEditText(text);
        ChooseCurrentMacro();
    } else if (list.Current() != MacroWorkingList::kNone) {
        m_macroList->setItemText(list.Current(), text);
    }
    SetApplyEnabled(true);
}

void Korvel_DlgComposite::OnCyclesTyped(const QString& text) {
    m_work->List().SetCycles(TakeTypedCycles(*m_cycles, text));
    ChooseCurrentMacro();
    SetApplyEnabled(true);
}

void Korvel_DlgComposite::ShowPage(KeyPage page) {
    if (m_open && m_editing.ShowPage(page)) {
        ShowPageControls();
    }
}

void Korvel_DlgComposite::ShowChoices() {
    const ScanCode key = m_editing.ShownKey();
    m_keyDisplay->setText(key != 0 ? QString::fromStdU16String(m_host.codec.KeyNameOf(key))
                                   : QString());
    m_mediaList->setCurrentIndex(m_editing.ShownMedia());
    m_functionList->setCurrentIndex(m_editing.ShownFunction());
}

void Korvel_DlgComposite::ShowPageControls() {
    const KeyPage page = m_editing.Page();
    const bool macroPage = page == KeyPage::Macro;
    const bool mediaPage = page == KeyPage::Media;
    const bool functionPage = page == KeyPage::Function;
    const bool singlePage = page == KeyPage::SingleKey;
    if (!macroPage) {
        m_work->AbortRecording();
    }
    if (singlePage && !m_readOnly) {
        m_lastPress = 0;
        m_keyCapture->Start();
    } else {
        m_keyCapture->Stop();
    }
    for (int id : kSingleKeyControls)
        Control(id)->setVisible(singlePage);
    for (int id : kMediaControls)
        Control(id)->setVisible(mediaPage);
    for (int id : kFunctionControls)
        Control(id)->setVisible(functionPage);
    for (int id : kMacroControls)
        Control(id)->setVisible(macroPage);
    if (m_editing.MacroOnly()) {
        for (int id : {kSingleKeyLabel, kMediaLabel, kFunctionLabel})
            Control(id)->setVisible(false);
    }
    const SkinSurfaces* set = macroPage      ? &m_macroSet
                              : mediaPage    ? &m_mediaSet
                              : functionPage ? &m_functionSet
                                             : &m_keySet;
    m_page->SetStatePictures(set);
    const int shown = macroPage      ? kPageMacro
                      : mediaPage    ? kPageMedia
                      : functionPage ? kPageFunction
                                     : kPageSingleKey;
    for (int id : {kPageSingleKey, kPageMacro, kPageMedia, kPageFunction}) {
        static_cast<CPngButton*>(Control(id))->SetChecked(id == shown);
    }
}

void Korvel_DlgComposite::Clear() {
    if (!m_open || m_editing.MacroOnly()) {
        return;
    }
    m_editing.Clear();
    ShowChoices();
    ShowPageControls();
    SetApplyEnabled(true);
}

bool Korvel_DlgComposite::LeaveOnSecondPress(ScanCode key) {
    constexpr ScanCode kScanEscape = 0x001;
    constexpr ScanCode kScanTab = 0x00F;
    const bool again = key == m_lastPress;
    m_lastPress = key;
    if (!again || (key != kScanEscape && key != kScanTab)) {
        return false;
    }
    m_lastPress = 0;
    if (key == kScanEscape) {
        // After the key event has been handled: closing stops the capture that delivers it.
        QMetaObject::invokeMethod(this, &Korvel_DlgComposite::CancelEditor, Qt::QueuedConnection);
        return true;
    }
    m_keyCapture->Stop();
    const bool back = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
    focusNextPrevChild(!back);
    return true;
}

bool Korvel_DlgComposite::eventFilter(QObject* watched, QEvent* event) {
    // Back in the key field, the page takes keys again.
    if (watched == m_keyDisplay && event->type() == QEvent::FocusIn &&
        m_editing.Page() == KeyPage::SingleKey && !m_readOnly && m_open) {
        m_lastPress = 0;
        m_keyCapture->Start();
    }
    return CBaseDialog::eventFilter(watched, event);
}

void Korvel_DlgComposite::OnSingleKey(ScanCode key, bool release, bool autoRepeat) {
    if (!release && !autoRepeat && LeaveOnSecondPress(key)) {
        return;
    }
    if (m_editing.OfferKey(key, release, autoRepeat)) {
        ShowChoices();
        SetApplyEnabled(true);
    }
}

void Korvel_DlgComposite::SetApplyEnabled(bool enabled) {
    Control(kEditorApply)->setEnabled(enabled && !m_readOnly);
}

void Korvel_DlgComposite::Apply() {
    if (!m_open) {
        return;
    }
    m_work->FinishEdit();
    m_work->AbortRecording();
    if (m_readOnly) {
        return;
    }
    m_work->ApplyMacros();
    // Only a choice is written: a page the user merely looked at changes nothing.
    if (const std::optional<KeyEdit> edit = m_editing.Edit()) {
        const int slot = m_editing.Slot();
        WriteEditedEntry(m_host.store.EditingConfig(), m_profile, slot,
                         BuildEditedEntry(*edit, slot));
        m_editing.Applied();
    }
    m_host.refreshKeys();
    SetApplyEnabled(false);
    m_host.markModified();
}

void Korvel_DlgComposite::CancelEditor() {
    if (m_open) {
        Finish();
    }
}

void Korvel_DlgComposite::Finish() {
    m_keyCapture->Stop();
    m_work->AbortRecording();
    m_work->List().Load({});
    m_open = false;
    hide();
    m_host.editorClosed();
    emit closed();
}

void Korvel_DlgComposite::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && !m_work->Recording()) {
        m_host.showHelp();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

void Korvel_DlgComposite::closeEvent(QCloseEvent* event) {
    event->ignore();
    CancelEditor();
}

}  // namespace korvel
