#include "gui/platform/qt_prompts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>

namespace korvel {

QtPrompts::QtPrompts(QWidget* owner) : m_owner(owner) {}

QString QtPrompts::Title() const {
    // The window's own title, so that a message says whose it is (not the program file's name).
    if (m_owner != nullptr && !m_owner->window()->windowTitle().isEmpty()) {
        return m_owner->window()->windowTitle();
    }
    return QGuiApplication::applicationDisplayName();
}

template <typename Call>
void QtPrompts::OnGuiThread(Call call) {
    if (QThread::currentThread() == thread()) {
        call();
    } else {
        QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
    }
}

void QtPrompts::ShowMessage(std::u16string_view text, MessageKind kind) {
    const QString message = QString::fromStdU16String(std::u16string(text));
    OnGuiThread([this, message, kind] {
        const QMessageBox::Icon icon = kind == MessageKind::Information ? QMessageBox::Information
                                       : kind == MessageKind::Warning   ? QMessageBox::Warning
                                                                        : QMessageBox::Critical;
        QMessageBox box(icon, Title(), message, QMessageBox::Ok, m_owner);
        box.exec();
    });
}

Answer QtPrompts::AskYesNo(std::u16string_view text, Answer defaultAnswer) {
    const QString message = QString::fromStdU16String(std::u16string(text));
    Answer answer = defaultAnswer;
    OnGuiThread([this, message, defaultAnswer, &answer] {
        QMessageBox box(QMessageBox::Question, Title(), message, QMessageBox::Yes | QMessageBox::No,
                        m_owner);
        box.setDefaultButton(defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
        answer = box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    });
    return answer;
}

PendingEdits QtPrompts::AskAboutPendingEdits(std::u16string_view text) {
    const QString message = QString::fromStdU16String(std::u16string(text));
    PendingEdits answer = PendingEdits::Keep;
    OnGuiThread([this, message, &answer] {
        QMessageBox box(QMessageBox::Question, Title(), message,
                        QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, m_owner);
        box.setDefaultButton(QMessageBox::Apply);
        box.setEscapeButton(QMessageBox::Cancel);
        box.exec();
        const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
        answer = clicked == QMessageBox::Apply     ? PendingEdits::Apply
                 : clicked == QMessageBox::Discard ? PendingEdits::Discard
                                                   : PendingEdits::Keep;
    });
    return answer;
}

}  // namespace korvel
