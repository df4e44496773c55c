#include "gui/editors/korvel_dlg_composite.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <span>

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
    m_slot = slot;
    m_macroOnly = macroOnly;
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
    m_work->Open();
    FillMacroCombo();
    m_macroPageFresh = true;

    KeyEntry entry;
    if (!m_readOnly) {
        const EditingHolder& editing = m_host.store.EditingConfig();
        auto lock = editing.Lock();
        if (const ConfigImage* image = editing.Image()) {
            entry = image->Entry(GlobalEntryIndex(m_profile, slot));
        }
    }
    m_pageType = entry.type;
    m_initialValue = entry.value;
    for (int id : {kPageSingleKey, kPageMedia, kPageFunction, kCompositeClear}) {
        Control(id)->setEnabled(!macroOnly);
    }
    const SkinSurfaces* frame = macroOnly ? &m_macroOnlySet : &m_keySet;
    for (int id : {kPageSingleKey, kPageMacro, kPageMedia, kPageFunction, kCompositeClear,
                   kCompositeTitle, kOnScreenKeyboard, kEditorOk, kEditorCancel, kEditorApply}) {
        static_cast<CPngButton*>(Control(id))->SetStatePictures(frame);
    }
    if (macroOnly) {
        m_pageType = kEntryMacro;
    }
    m_singleKey = 0;
    SetCaptions();
    // The title names the key being edited.
    auto* title = static_cast<CPngButton*>(Control(kCompositeTitle));
    const std::u16string label = m_host.codec.SlotLabel(slot);
    title->setText(QString::fromStdU16String(label));
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
    ShowPage(true);
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

void Korvel_DlgComposite::OnMacroChosen(int index) {
    m_work->FinishEdit();
    m_work->List().Select(index);
    ShowCycles();
    m_work->ShowSteps();
}

void Korvel_DlgComposite::OnMacroNameTyped(const QString& text) {
    MacroWorkingList& list = m_work->List();
    const bool wasEmpty = list.Count() == 0;
    list.RenameCurrent(text.toStdU16String(), false, {});
    if (wasEmpty) {
        FillMacroCombo();
        m_macroList->setEditText(text);
    } else if (list.Current() != MacroWorkingList::kNone) {
        m_macroList->setItemText(list.Current(), text);
    }
    SetApplyEnabled(true);
}

void Korvel_DlgComposite::OnCyclesTyped(const QString& text) {
    const std::uint8_t cycles = CyclesFromText(text.toStdU16String());
    if (text.isEmpty() || text.toInt() != cycles) {
        m_cycles->setText(QString::number(cycles));
    }
    m_work->List().SetCycles(cycles);
    SetApplyEnabled(true);
}

void Korvel_DlgComposite::ShowPageOf(std::uint16_t pageType) {
    if (!m_open) {
        return;
    }
    const bool singleKeyPage =
        m_pageType != kEntryMacro && m_pageType != kEntryMedia && m_pageType != kEntryFunction;
    if (pageType == kEntryKey ? singleKeyPage : m_pageType == pageType) {
        return;
    }
    SwitchPage(pageType);
}

void Korvel_DlgComposite::SwitchPage(std::uint16_t pageType) {
    m_pageType = pageType;
    ShowPage(false);
    SetApplyEnabled(true);
}

void Korvel_DlgComposite::ShowPage(bool initial) {
    const std::uint16_t type = m_pageType;
    const bool macroPage = type == kEntryMacro;
    const bool mediaPage = type == kEntryMedia;
    const bool functionPage = type == kEntryFunction;
    const bool singlePage = !macroPage && !mediaPage && !functionPage;
    if (!macroPage) {
        m_work->AbortRecording();
    }
    if (macroPage) {
        m_keyCapture->Stop();
        if (initial) {
            m_work->List().SelectById(static_cast<std::uint16_t>(m_initialValue));
            FillMacroCombo();
        } else if (m_macroPageFresh && m_initialValue == 0 &&
                   m_work->List().Current() == MacroWorkingList::kNone) {
            m_work->List().Select(0);
            FillMacroCombo();
        }
        m_macroPageFresh = false;
    } else if (mediaPage || functionPage) {
        m_keyCapture->Stop();
        if (initial) {
            (mediaPage ? m_mediaList : m_functionList)
                ->setCurrentIndex(m_initialValue <
                                          static_cast<std::uint32_t>(
                                              (mediaPage ? m_mediaList : m_functionList)->count())
                                      ? static_cast<int>(m_initialValue)
                                      : 0);
        }
    } else {
        if (initial) {
            m_singleKey = static_cast<ScanCode>(m_initialValue);
            m_keyDisplay->setText(
                type == kEntryKey && m_singleKey != 0
                    ? QString::fromStdU16String(m_host.codec.KeyNameOf(m_singleKey))
                    : QString());
        }
        if (!m_readOnly) {
            m_keyCapture->Start();
        }
    }
    for (int id : kSingleKeyControls)
        Control(id)->setVisible(singlePage);
    for (int id : kMediaControls)
        Control(id)->setVisible(mediaPage);
    for (int id : kFunctionControls)
        Control(id)->setVisible(functionPage);
    for (int id : kMacroControls)
        Control(id)->setVisible(macroPage);
    if (m_macroOnly) {
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
    if (!m_open || m_macroOnly) {
        return;
    }
    ShowPageOf(kEntryKey);
    if (m_pageType == kEntryKey) {
        m_keyDisplay->clear();
        m_pageType = kEntryDefault;
    }
}

void Korvel_DlgComposite::OnSingleKey(ScanCode key, bool release, bool autoRepeat) {
    // A key is taken on its press, or on its release when it delivers no press.
    if ((release || autoRepeat) && !KeyDeliversNoPress(key)) {
        return;
    }
    m_singleKey = key;
    m_keyDisplay->setText(QString::fromStdU16String(m_host.codec.KeyNameOf(key)));
    m_pageType = kEntryKey;
    SetApplyEnabled(true);
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
    const MacroWorkingList& list = m_work->List();
    KeyEdit edit;
    edit.type = m_pageType;
    edit.singleKey = m_singleKey;
    const MacroRecord* macro = list.CurrentRecord();
    if (macro == nullptr && list.Count() > 0) {
        macro = &list.Item(0);
    }
    edit.macroId = macro != nullptr ? macro->macroId : 0;
    edit.cycles = list.Cycles() == 0 ? 1 : list.Cycles();
    edit.mediaIndex = std::max(m_mediaList->currentIndex(), 0);
    edit.functionIndex = std::max(m_functionList->currentIndex(), 0);
    WriteEditedEntry(m_host.store.EditingConfig(), m_profile, m_slot,
                     BuildEditedEntry(edit, m_slot));
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
