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
    explicit CImageSlider(QWidget* parent = nullptr);

    // One face per position 0..faces.size() - 1.
    void SetFaces(std::vector<QPixmap> faces);
    void SetPosition(int position);
    int Position() const { return m_position; }
    int Positions() const { return static_cast<int>(m_faces.size()); }

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
    void MoveTo(int position);

    std::vector<QPixmap> m_faces;
    int m_position = 0;
};

}  // namespace korvel
