#include "gui/platform/qt_prompts.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>

namespace korvel {

QtPrompts::QtPrompts(QWidget* owner) : m_owner(owner) {}

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
        QMessageBox box(icon, QString(), message, QMessageBox::Ok, m_owner);
        box.exec();
    });
}

Answer QtPrompts::AskYesNo(std::u16string_view text, Answer defaultAnswer) {
    const QString message = QString::fromStdU16String(std::u16string(text));
    Answer answer = defaultAnswer;
    OnGuiThread([this, message, defaultAnswer, &answer] {
        QMessageBox box(QMessageBox::Question, QString(), message,
                        QMessageBox::Yes | QMessageBox::No, m_owner);
        box.setDefaultButton(defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
        answer = box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    });
    return answer;
}

}  // namespace korvel
