// The floor for the window's start-up: a bare dialog of the same toolkit that prints the wall-clock
// time of its first painted frame, then ends as the window does when asked to (see startup.sh).
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <cstdio>

namespace {

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

class BareDialog : public QDialog {
protected:
    void paintEvent(QPaintEvent* event) override {
        QDialog::paintEvent(event);
        if (!m_painted) {
            m_painted = true;
            std::fprintf(stderr, "first-frame %lld\n", NowNs());
            // As the window's probe does: the request to end comes a moment after the frame.
            QTimer::singleShot(300, this, [] {
                std::fprintf(stderr, "exit-requested %lld\n", NowNs());
                QApplication::quit();
            });
        }
    }

private:
    bool m_painted = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("A bare dialog"), &dialog));
    dialog.resize(320, 200);
    dialog.show();
    return app.exec();
}
