#include "gui/editors/macro_work_area.h"

#include <QCheckBox>
#include <QTime>

#include "gui/editors/macro_action_table.h"
#include "gui/editors/record_delay_option.h"
#include "gui/platform/key_capture.h"
#include "gui/widgets/png_button.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "model/macros/macro_use.h"
#include "ports/prompts.h"
#include "text/text_table.h"

namespace korvel {
namespace {

constexpr char16_t kHeldKeysQuestion[] =
    u"When playing this macro is detected\uFF0Cthe presence of the following was not eject "
    u"buttons:  ";
constexpr char16_t kHeldKeysQuestionEnd[] = u"\r\n  The need to continue? ";

}  // namespace

MacroWorkArea::MacroWorkArea(QWidget* dialog, const MacroEditRules& rules, EditorHost& host,
                             MacroWorkControls controls)
    : QObject(dialog),
      m_rules(rules),
      m_host(host),
      m_controls(controls),
      m_list(rules),
      m_recorder(rules),
      m_capture(new KeyCapture(dialog)) {
    connect(m_capture, &KeyCapture::keyEvent, this, &MacroWorkArea::OnRecordedKey);
    // The keyboard counts delays in steps: what a typed delay will be kept as shows while it is
    // typed.
    m_controls.table->SetDelayHint([this](quint64 typed) {
        const std::uint32_t kept = DelayFromTypedNumber(typed, m_rules.delayCellStep).delayMs;
        if (kept == typed) {
            return QString();
        }
        return QString::fromStdU16String(
                   m_host.texts.ReadText("MACRO_DELAY_KEPT_AS", m_host.texts.TextLanguage()))
            .arg(kept);
    });
    ConnectControls();
}

MacroWorkArea::~MacroWorkArea() {
    m_capture->Stop();
}

QString MacroWorkArea::Text(const char* key) const {
    return QString::fromStdU16String(m_host.texts.Text(std::string_view(key)));
}

void MacroWorkArea::ConnectControls() {
    const auto step = [this](CPngButton* button, bool (MacroActionList::*operation)()) {
        connect(button, &QAbstractButton::clicked, this, [this, operation] {
            m_list.Steps().Select(m_controls.table->currentRow());
            StepEdited((m_list.Steps().*operation)());
            m_controls.table->setFocus();
        });
    };
    step(m_controls.deleteStep, &MacroActionList::DeleteSelected);
    step(m_controls.top, &MacroActionList::MoveSelectedToTop);
    step(m_controls.up, &MacroActionList::MoveSelectedUp);
    step(m_controls.down, &MacroActionList::MoveSelectedDown);
    step(m_controls.bottom, &MacroActionList::MoveSelectedToBottom);
    connect(m_controls.clear, &QAbstractButton::clicked, this, [this] {
        if (m_list.Steps().Size() == 0 ||
            m_host.prompts.AskYesNo(m_host.texts.Text(TextKey::MACRO_ACTION_CLEAR_CONFIRM)) !=
                Answer::Yes) {
            return;
        }
        StepEdited(m_list.Steps().Clear());
    });
    connect(m_controls.record, &QAbstractButton::clicked, this, [this] {
        if (Recording()) {
            StopRecording();
        } else {
            StartRecording();
        }
    });
    connect(m_controls.recordDelay, &QCheckBox::toggled, this,
            [this](bool on) { WriteRecordDelayOption(m_host.settings, on); });
    MacroActionTable* table = m_controls.table;
    connect(table, &QTableWidget::currentCellChanged, this,
            [this](int row) { m_list.Steps().Select(row); });
    connect(table, &MacroActionTable::editStarted, this, [this](int column) {
        if (column == 2 && Recording()) {
            AbortRecording();
        }
    });
    connect(table, &MacroActionTable::keyChosen, this,
            [this](int row, ScanCode key) { StepEdited(m_list.Steps().SetKey(row, key)); });
    connect(table, &MacroActionTable::directionChosen, this,
            [this](int row, std::uint16_t d) { StepEdited(m_list.Steps().SetDirection(row, d)); });
    connect(table, &MacroActionTable::delayTyped, this, [this](int row, quint64 typed) {
        const TypedDelay delay = DelayFromTypedNumber(typed, m_rules.delayCellStep);
        if (delay.overMaximum) {
            m_host.prompts.ShowMessage(
                FormatWithNumber(m_host.texts.Text(TextKey::MACRO_ACTION_ERR_DELAY_MAX),
                                 kMaxMacroDelayMs),
                MessageKind::Warning);
        }
        StepEdited(m_list.Steps().SetDelay(row, delay.delayMs));
    });
}

void MacroWorkArea::Open() {
    {
        const EditingHolder& editing = m_host.store.EditingConfig();
        auto lock = editing.Lock();
        m_list.Load(editing.Macros());
    }
    const QSignalBlocker quiet(m_controls.recordDelay);
    m_controls.recordDelay->setChecked(ReadRecordDelayOption(m_host.settings));
    m_recorder.Stop();
    ShowRecordButton();
    m_controls.table->SetHeadings(Text("MACRO_KEYS_TISHI"), Text("MACRO_ACTION_TISHI"),
                                  Text("MACRO_DELAY_MS"));
    ShowSteps();
}

void MacroWorkArea::SetStepButtonsEnabled(bool enabled) {
    for (CPngButton* button : {m_controls.record, m_controls.deleteStep, m_controls.clear,
                               m_controls.top, m_controls.up, m_controls.down, m_controls.bottom}) {
        button->setEnabled(enabled);
    }
}

void MacroWorkArea::ShowSteps(int greyRow) {
    m_controls.table->Show(m_list.Steps(), greyRow);
    SetStepButtonsEnabled(m_list.Current() != MacroWorkingList::kNone);
}

void MacroWorkArea::ApplyMacros() {
    FinishEdit();
    std::vector<MacroRecord> records = m_list.Records();
    // A macro that presses a key and never releases it would leave the key held down on the
    // keyboard: the user is asked, naming the keys, whether to add the releases at the end.
    bool completed = false;
    for (MacroRecord& record : records) {
        const std::vector<ScanCode> held = KeysLeftPressed(record.actions);
        if (held.empty()) {
            continue;
        }
        QStringList keys;
        for (const ScanCode key : held) {
            keys << QString::fromStdU16String(m_host.codec.KeyNameOf(key));
        }
        const QString question =
            QString::fromStdU16String(
                m_host.texts.ReadText("MACRO_APPLY_HELD_KEYS", m_host.texts.TextLanguage()))
                .arg(QString::fromStdU16String(record.name), keys.join(QStringLiteral(", ")));
        if (m_host.prompts.AskYesNo(question.toStdU16String(), Answer::Yes) == Answer::Yes) {
            completed = AddMissingReleases(record.actions) || completed;
        }
    }
    ReplaceEditingMacros(m_host.store.EditingConfig(), records);
    if (completed) {
        // The list shows the releases added, the same macro still selected.
        const int current = m_list.Current();
        m_list.Load(records);
        m_list.Select(current);
        ShowSteps();
        return;
    }
    m_list.MarkApplied();
}

void MacroWorkArea::FinishEdit() {
    m_controls.table->FinishEdit();
}

void MacroWorkArea::StepEdited(bool didChange) {
    if (didChange) {
        ShowSteps();
        emit changed();
    }
}

void MacroWorkArea::ShowRecordButton() {
    m_controls.record->setText(Recording() ? Text("MACRO_ACTION_STOP_RECORD")
                                           : QString::fromStdU16String(m_host.texts.ReadText(
                                                 "A_RECORD", m_host.texts.TextLanguage())));
    m_controls.record->SetChecked(Recording());
}

void MacroWorkArea::StartRecording() {
    if (Recording() || m_list.Current() == MacroWorkingList::kNone) {
        return;
    }
    FinishEdit();
    m_recorder.Start(m_host.clockMs(), m_controls.recordDelay->isChecked());
    m_capture->Start();
    ShowRecordButton();
    emit recordingChanged(true);
}

bool MacroWorkArea::StopRecording() {
    if (!Recording()) {
        return true;
    }
    if (m_rules.askAboutHeldKeys) {
        const std::vector<ScanCode> held = m_list.Steps().KeysLeftPressed();
        if (!held.empty()) {
            std::u16string question = kHeldKeysQuestion;
            for (ScanCode key : held) {
                question += u"[" + m_host.codec.KeyNameOf(key) + u"] ";
            }
            question += kHeldKeysQuestionEnd;
            // The question needs the keyboard; recording goes on only after a No.
            m_capture->Stop();
            if (m_host.prompts.AskYesNo(question) != Answer::Yes) {
                m_capture->Start();
                return false;
            }
        }
    }
    AbortRecording();
    return true;
}

void MacroWorkArea::AbortRecording() {
    if (!Recording()) {
        return;
    }
    m_recorder.Stop();
    m_capture->Stop();
    ShowRecordButton();
    emit recordingChanged(false);
}

void MacroWorkArea::OnRecordedKey(ScanCode key, bool release, bool autoRepeat) {
    bool recorded = false;
    for (const RecordedStep& step : m_recorder.OnKey(key, release, autoRepeat, m_host.clockMs())) {
        recorded = m_list.Steps().Record(step.gapMs, step.key, step.direction) || recorded;
    }
    if (recorded) {
        ShowSteps(m_list.Steps().Selected());
        emit changed();
    }
}

bool MacroWorkArea::DeleteCurrentMacro() {
    const MacroRecord* record = m_list.CurrentRecord();
    if (record == nullptr) {
        return false;
    }
    const bool proceed = MacroInUse(m_host.store.EditingConfig(), *record, [this] {
        return m_host.prompts.AskYesNo(m_host.texts.Text(TextKey::MACRO_DELETE_CONFIRM_OF_KEYS)) ==
               Answer::Yes;
    });
    if (!proceed) {
        return false;
    }
    m_list.DeleteCurrent();
    ShowSteps();
    emit changed();
    return true;
}

int MacroWorkArea::AddMacro() {
    if (m_list.Count() >= kMaxMacros) {
        m_host.prompts.ShowMessage(
            FormatWithNumber(m_host.texts.Text(TextKey::MACRO_ERR_MAX), kMaxMacros),
            MessageKind::Warning);
        return -1;
    }
    std::u16string prefix = m_host.texts.Text(TextKey::MACRO_NEW_PREFIX);
    if (prefix.empty()) {
        prefix = u"Macro";
    }
    const int index = m_list.Add(prefix, [] {
        return QTime::currentTime().toString(QStringLiteral("HHmmsszzz")).toStdU16String();
    });
    ShowSteps();
    emit changed();
    return index;
}

}  // namespace korvel
