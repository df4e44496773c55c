#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

#include "gui/skin/dialog_skin.h"
#include "gui/skin/skin_surfaces.h"

namespace korvel {

// Text layout flags of a button caption, as skin captions give them.
enum TextFormat : unsigned {
    kTextCenter = 0x01,
    kTextRight = 0x02,
    kTextVCenter = 0x04,
    kTextBottom = 0x08,
    kTextWordBreak = 0x10,
    kTextSingleLine = 0x20,
    kTextDefault = kTextCenter | kTextVCenter | kTextSingleLine,  // 37
};

// An image button whose faces are cut from the dialog's full-size state pictures at the button's
// own place (picture offset minus one pixel), with optional caption, tooltip and frame mode.
class CPngButton : public QAbstractButton {
    Q_OBJECT

public:
    using AfterDraw = std::function<void(CPngButton& button, bool drewNormal)>;

    explicit CPngButton(QWidget* parent = nullptr);

    void SetStatePictures(const SkinSurfaces* surfaces, bool redraw = true);
    void SetPicturesAt(int x, int y, const SkinSurfaces* surfaces, bool redraw = true);
    void SetPictureOffset(int x, int y, bool redraw = true);
    QPoint PictureOffset() const { return m_offset; }
    // The rectangle of the full state pictures this button shows: its own size, cut one pixel up
    // and left of the picture offset.
    QRect FaceRect() const { return QRect(m_offset - QPoint(1, 1), size()); }
    const SkinSurfaces* Surfaces() const { return m_surfaces; }

    // The "assigned" look: drawn from the checked surface unless hovered, pressed or disabled.
    void SetChecked(bool checked, bool redraw = true);
    bool IsChecked() const { return m_checked; }
    bool IsHovered() const { return m_hover; }

    void SetTextStyle(bool enabled, int pointSize = 8,
                      const QString& face = QStringLiteral("Tahoma"), QColor colour = Qt::black,
                      unsigned format = kTextDefault);
    void SetTextStyle(const TextStyle& style, unsigned format = kTextDefault) {
        SetTextStyle(true, style.pointSize, style.face, style.colour, format);
    }
    void SetTextMargins(int left, int right, int top, int bottom);
    void SetTextRotation(int escapement, bool rotated);
    void SetFrame(QColor colour, bool on);
    void SetAfterDraw(AfterDraw callback) { m_afterDraw = std::move(callback); }
    void SetTooltip(const QString& text, bool activate = true);
    // Lays the colour over the face at half strength (the lighting preview), or no tint.
    void SetTint(std::optional<QColor> tint);
    std::optional<QColor> Tint() const { return m_tint; }
    void Redraw() { update(); }

    // The surface a paint would use now: disabled, else pressed, hover, checked, else normal.
    const QPixmap* CurrentSurface() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void DrawCaption(QPainter& painter);

    const SkinSurfaces* m_surfaces = nullptr;
    QPoint m_offset;
    bool m_hover = false;
    bool m_checked = false;

    bool m_textEnabled = false;
    int m_pointSize = 8;
    QString m_face = QStringLiteral("Tahoma");
    QColor m_textColour = Qt::black;
    unsigned m_format = kTextDefault;
    QMargins m_margins;
    int m_escapement = 0;
    bool m_rotated = false;

    std::optional<QColor> m_tint;
    bool m_frame = false;
    QColor m_frameColour;
    AfterDraw m_afterDraw;
};

// Before a dialog is first shown: starts decoding, on helper threads, the faces its image buttons
// will show that are decoded one by one (a checked profile, a disabled Apply), one pass per
// picture, so that the first frame does not wait for them in turn.
void PrefetchShownFaces(const QWidget& dialog);

}  // namespace korvel
