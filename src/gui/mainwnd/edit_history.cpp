#include "gui/mainwnd/edit_history.h"

#include <QUndoCommand>
#include <algorithm>

#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/window_parts.h"
#include "model/image/editing_snapshot.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_codes.h"
#include "model/keys/key_names.h"
#include "model/lighting/lighting_state.h"

namespace korvel {
namespace {

// A history long enough for any session, short enough that its copies stay a few megabytes.
constexpr int kStepsKept = 100;
constexpr int kLightingStepId = 1;

// Commands are pushed after their edit was made: their first redo does nothing. A step is named
// when the menu shows it, in the language chosen then.
class Step : public QUndoCommand {
public:
    explicit Step(EditHistory::StepName name) : QUndoCommand(name()), m_name(std::move(name)) {}
    QString Name() const { return m_name(); }
    void redo() final {
        if (m_done) {
            Redo();
        }
        m_done = true;
    }

protected:
    virtual void Redo() = 0;

private:
    EditHistory::StepName m_name;
    bool m_done = false;
};

class StagedStep : public Step {
public:
    StagedStep(EditHistory& history, EditHistory::StepName name,
               std::shared_ptr<const EditingSnapshot> before,
               std::shared_ptr<const EditingSnapshot> after)
        : Step(std::move(name)),
          m_history(history),
          m_before(std::move(before)),
          m_after(std::move(after)) {}
    void undo() override { m_history.ShowStaged(m_before); }

protected:
    void Redo() override { m_history.ShowStaged(m_after); }

private:
    EditHistory& m_history;
    std::shared_ptr<const EditingSnapshot> m_before;
    std::shared_ptr<const EditingSnapshot> m_after;
};

class LightingStep : public Step {
public:
    LightingStep(EditHistory& history, EditHistory::StepName name, std::string field, int profile,
                 const LightingPicture& before, const LightingPicture& after)
        : Step(std::move(name)),
          m_history(history),
          m_field(std::move(field)),
          m_profile(profile),
          m_before(before),
          m_after(after) {}
    void undo() override { m_history.ShowLighting(m_before); }
    int id() const override { return kLightingStepId; }
    // The writes of one slider's drag, or of one field chosen again and again, make one step.
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const LightingStep*>(other);
        if (m_field.empty() || next->m_field != m_field || next->m_profile != m_profile) {
            return false;
        }
        m_after = next->m_after;
        return true;
    }

protected:
    void Redo() override { m_history.ShowLighting(m_after); }

private:
    EditHistory& m_history;
    std::string m_field;
    int m_profile;
    LightingPicture m_before;
    LightingPicture m_after;
};

std::shared_ptr<const EditingSnapshot> Snapshot(const WindowParts& parts) {
    auto taken = TakeEditingSnapshot(parts.services.store.EditingConfig());
    return taken ? std::make_shared<const EditingSnapshot>(std::move(*taken)) : nullptr;
}

}  // namespace

EditHistory::EditHistory(WindowParts& parts, ApplyController& applier, QObject* parent)
    : QObject(parent), m_parts(parts), m_applier(applier) {
    m_stack.setUndoLimit(kStepsKept);
    parts.lighting.SetChangeListener(
        [this](const std::string& field, int profile, const LightingPicture& before,
               const LightingPicture& after) { LightingChanged(field, profile, before, after); });
    connect(&m_stack, &QUndoStack::indexChanged, this, &EditHistory::changed);
    Restart();
}

EditHistory::~EditHistory() = default;

void EditHistory::StagedEdited() {
    std::shared_ptr<const EditingSnapshot> after = Snapshot(m_parts);
    if (!after || !m_staged || *after == *m_staged) {
        m_staged = std::move(after);
        return;
    }
    m_stack.push(new StagedStep(*this, StagedName(*m_staged, *after), m_staged, after));
    m_staged = std::move(after);
}

void EditHistory::LightingChanged(const std::string& field, int profile,
                                  const LightingPicture& before, const LightingPicture& after) {
    m_stack.push(
        new LightingStep(*this, LightingName(field, before, after), field, profile, before, after));
}

void EditHistory::Restart() {
    m_profile = m_parts.ActiveProfile();
    m_stack.clear();
    m_staged = Snapshot(m_parts);
    m_applied = m_staged;
    emit changed();
}

void EditHistory::ProfileShown(int profile) {
    if (profile != m_profile) {
        Restart();
    }
}

void EditHistory::MarkApplied() {
    m_applied = m_staged;
}

bool EditHistory::CanUndo() const {
    return m_stack.canUndo() && !(m_blocked && m_blocked());
}

bool EditHistory::CanRedo() const {
    return m_stack.canRedo() && !(m_blocked && m_blocked());
}

void EditHistory::Undo() {
    if (CanUndo()) {
        m_stack.undo();
    }
}

void EditHistory::Redo() {
    if (CanRedo()) {
        m_stack.redo();
    }
}

QString EditHistory::UndoText() const {
    return m_stack.canUndo()
               ? CaptionWith("EDIT_UNDO",
                             static_cast<const Step*>(m_stack.command(m_stack.index() - 1))->Name())
               : Caption("EDIT_UNDO_NONE");
}

QString EditHistory::RedoText() const {
    return m_stack.canRedo()
               ? CaptionWith("EDIT_REDO",
                             static_cast<const Step*>(m_stack.command(m_stack.index()))->Name())
               : Caption("EDIT_REDO_NONE");
}

void EditHistory::ShowStaged(const std::shared_ptr<const EditingSnapshot>& staged) {
    if (!staged) {
        return;
    }
    PutBackEditingSnapshot(m_parts.services.store.EditingConfig(), *staged);
    m_staged = staged;
    m_parts.RefreshKeys();
    // Back at what the keyboard was last given, nothing is left to apply.
    m_applier.SetModified(!(m_applied && (staged == m_applied || *staged == *m_applied)));
}

void EditHistory::ShowLighting(const LightingPicture& picture) {
    m_parts.lighting.PutBack(picture);
}

EditHistory::StepName EditHistory::Named(const char* key, const QString& value) const {
    return [this, key, value] { return value.isEmpty() ? Caption(key) : CaptionWith(key, value); };
}

EditHistory::StepName EditHistory::StagedName(const EditingSnapshot& before,
                                              const EditingSnapshot& after) const {
    const std::vector<int> entries = ChangedEntries(before, after);
    if (entries.empty()) {
        return Named("EDIT_OF_MACROS");
    }
    const int slot = entries.front() % kBlockSlots;
    const bool oneKey = std::all_of(entries.begin(), entries.end(),
                                    [slot](int k) { return k % kBlockSlots == slot; });
    const QString key = QString::fromStdU16String(SlotLabel(m_parts.services.keyCodec, slot));
    return oneKey && !key.isEmpty() ? Named("EDIT_OF_KEY", key) : Named("EDIT_OF_KEYS");
}

EditHistory::StepName EditHistory::LightingName(const std::string& field,
                                                const LightingPicture& before,
                                                const LightingPicture& after) const {
    if (field.empty()) {
        return Named(before.record == after.record ? "EDIT_OF_KEY_COLORS" : "EDIT_OF_LIGHTING");
    }
    return [this, field] {
        const QString name = QString::fromStdU16String(m_parts.CaptionOf("EDIT_OF_", field));
        return name.isEmpty() ? Caption("EDIT_OF_LIGHTING") : name;
    };
}

QString EditHistory::CaptionWith(const char* key, const QString& value) const {
    return QString::fromStdU16String(m_parts.CaptionWith(key, value.toStdU16String()));
}

QString EditHistory::Caption(const char* key) const {
    return QString::fromStdU16String(m_parts.Caption(key));
}

}  // namespace korvel
