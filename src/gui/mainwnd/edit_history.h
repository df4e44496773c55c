#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace korvel {

class ApplyController;
class WindowParts;
struct EditingSnapshot;
struct LightingPicture;

// Undo and redo of every edit a user makes in the window: key assignments and macros (staged in
// EditingConfig, undone there) and lighting choices and painted key colours (written at once,
// undone by writing the previous lighting). A profile switch, a reload, an import or the restored
// defaults start a new history: what the keyboard holds then is no longer what the steps were made
// on.
//
// Steps are Qt undo commands; moving a slider makes one step of its drag. With a staged step
// undone back to what was last applied, the window is no longer modified.
class EditHistory : public QObject {
    Q_OBJECT

public:
    // What a step is called, asked each time the menu shows it.
    using StepName = std::function<QString()>;

    EditHistory(WindowParts& parts, ApplyController& applier, QObject* parent);
    ~EditHistory() override;

    // An editor changed EditingConfig: one step, named after what changed.
    void StagedEdited();
    // The lighting panel changed the lighting of `profile`.
    void LightingChanged(const std::string& field, int profile, const LightingPicture& before,
                         const LightingPicture& after);
    // What EditingConfig and the lighting hold now starts a new history.
    void Restart();
    // The window shows the keyboard's active profile: another one than the steps were made on
    // starts a new history.
    void ProfileShown(int profile);
    // What is staged now was applied.
    void MarkApplied();

    // Nothing is undone or redone while an editor works on EditingConfig or a download runs.
    void SetBlocked(std::function<bool()> blocked) { m_blocked = std::move(blocked); }
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();
    // "Undo assignment of A", "Redo brightness", or the bare "Undo" / "Redo".
    QString UndoText() const;
    QString RedoText() const;
    const QUndoStack& Stack() const { return m_stack; }

    // What the commands do: show a staged state, or put a profile's lighting back.
    void ShowStaged(const std::shared_ptr<const EditingSnapshot>& staged);
    void ShowLighting(const LightingPicture& picture);

signals:
    void changed();

private:
    StepName StagedName(const EditingSnapshot& before, const EditingSnapshot& after) const;
    StepName LightingName(const std::string& field, const LightingPicture& before,
                          const LightingPicture& after) const;
    // The caption of `key`, with `value` in it when there is one.
    StepName Named(const char* key, const QString& value = {}) const;
    QString Caption(const char* key) const;
    QString CaptionWith(const char* key, const QString& value) const;

    WindowParts& m_parts;
    ApplyController& m_applier;
    QUndoStack m_stack;
    // What EditingConfig holds, and what it held when last applied (or when the history began).
    std::shared_ptr<const EditingSnapshot> m_staged;
    std::shared_ptr<const EditingSnapshot> m_applied;
    std::function<bool()> m_blocked;
    int m_profile = -1;  // the active profile the steps were made on
};

}  // namespace korvel
