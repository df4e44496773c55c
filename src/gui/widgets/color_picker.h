#pragma once

#include <QColor>
#include <QPushButton>
#include <QString>
#include <vector>

class QFrame;

namespace korvel {

// A colour button: it shows its colour, and a click opens a small dark popup with ten columns of
// palette colours and an "other" button that opens the full colour dialog. A colour chosen there
// is reported with `picked`; setting the colour from the program reports nothing.
class CColorPicker : public QPushButton {
    Q_OBJECT

public:
    explicit CColorPicker(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor Color() const { return m_color; }
    // The caption of the popup's "other" button.
    void SetOtherText(const QString& text) { m_otherText = text; }

    // The user's choice: shows it, closes the popup and reports it.
    void Choose(const QColor& color);
    // The palette the popup offers, row by row, ten a row.
    static const std::vector<QColor>& Palette();
    // The popup while it is open, else null.
    QFrame* Popup() const { return m_popup; }

signals:
    void picked(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OpenPopup();
    void ChooseOther();

    QColor m_color = Qt::white;
    QString m_otherText = QStringLiteral("Other...");
    QFrame* m_popup = nullptr;
};

}  // namespace korvel
