#pragma once

#include <QWidget>
#include <vector>

namespace korvel {

// A slider drawn as one picture per position (the lighting panel's brightness and speed). A
// click or drag picks the position under the mouse, the arrow keys step it; every change by the
// user is reported with `moved`. Setting the position from the program reports nothing.
class CImageSlider : public QWidget {
    Q_OBJECT

public:
    // Positions 0..positions - 1.
    explicit CImageSlider(int positions, QWidget* parent = nullptr);

    // One face per position; until they are given the slider works but shows nothing, so that
    // its pictures need only be read once it is first shown.
    void SetFaces(std::vector<QPixmap> faces);
    void SetPosition(int position);
    // The user's choice (a click, a key, assistive technology): moves and reports it.
    void MoveTo(int position);
    int Position() const { return m_position; }
    int Positions() const { return m_positions; }

signals:
    void moved(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int PositionAt(int x) const;

    int m_positions;
    std::vector<QPixmap> m_faces;
    int m_position = 0;
};

}  // namespace korvel
