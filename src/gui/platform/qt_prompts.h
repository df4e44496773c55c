#pragma once

#include <QObject>
#include <QString>

#include "ports/prompts.h"

class QWidget;

namespace korvel {

// Message boxes of the desktop program. Calls from other threads (the presence thread reports an
// unreadable default key table) are carried to the GUI thread and wait there for the answer.
class QtPrompts : public QObject, public Prompts {
    Q_OBJECT

public:
    explicit QtPrompts(QWidget* owner = nullptr);
    void SetOwner(QWidget* owner) { m_owner = owner; }

    void ShowMessage(std::u16string_view text, MessageKind kind) override;
    Answer AskYesNo(std::u16string_view text, Answer defaultAnswer = Answer::No) override;
    PendingEdits AskAboutPendingEdits(std::u16string_view text) override;

private:
    template <typename Call>
    void OnGuiThread(Call call);
    QString Title() const;

    QWidget* m_owner;
};

}  // namespace korvel
