#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace korvel {

// A clickable picture: the lighting panel's on/off, direction, multicolour, colour-choice and
// tool pictures. It shows one of two pictures, plain or "down" (pressed, selected or on).
class CPictureButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CPictureButton(QWidget* parent = nullptr);

    void SetPictures(const QPixmap& plain, const QPixmap& down);
    void SetDown(bool down);
    bool IsDown() const { return m_down; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap m_plain;
    QPixmap m_pressed;
    bool m_down = false;
};

}  // namespace korvel
