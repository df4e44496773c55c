#include "glyphs.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace skingen {

namespace {

// Shapes are given on a 16 x 16 grid and scaled into the box.
class Grid {
public:
    Grid(QPainter& p, const QRectF& box, const QColor& colour) : m_p(p) {
        const qreal side = qMin(box.width(), box.height());
        m_scale = side / 16.0;
        m_origin = QPointF(box.center().x() - side / 2, box.center().y() - side / 2);
        QPen pen(colour, qMax(1.3, 1.5 * m_scale), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        m_p.setPen(pen);
        m_p.setBrush(Qt::NoBrush);
        m_colour = colour;
    }
    QPointF at(qreal x, qreal y) const { return m_origin + QPointF(x * m_scale, y * m_scale); }
    QRectF rect(qreal x, qreal y, qreal w, qreal h) const {
        return QRectF(at(x, y), QSizeF(w * m_scale, h * m_scale));
    }
    void line(qreal x1, qreal y1, qreal x2, qreal y2) { m_p.drawLine(at(x1, y1), at(x2, y2)); }
    void poly(std::initializer_list<QPointF> pts) {
        QPainterPath path;
        bool first = true;
        for (const QPointF& q : pts) {
            if (first)
                path.moveTo(at(q.x(), q.y()));
            else
                path.lineTo(at(q.x(), q.y()));
            first = false;
        }
        m_p.drawPath(path);
    }
    void box(qreal x, qreal y, qreal w, qreal h, qreal r) {
        m_p.drawRoundedRect(rect(x, y, w, h), r * m_scale, r * m_scale);
    }
    void circle(qreal cx, qreal cy, qreal r) {
        m_p.drawEllipse(at(cx, cy), r * m_scale, r * m_scale);
    }
    void dot(qreal cx, qreal cy, qreal r) {
        m_p.save();
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(m_colour);
        m_p.drawEllipse(at(cx, cy), r * m_scale, r * m_scale);
        m_p.restore();
    }
    void letter(const QString& text, qreal size) {
        m_p.save();
        QFont f(QStringLiteral("Noto Sans"));
        f.setPixelSize(qRound(size * m_scale));
        f.setWeight(QFont::Bold);
        m_p.setFont(f);
        m_p.drawText(rect(0, 0, 16, 16), Qt::AlignCenter, text);
        m_p.restore();
    }

private:
    QPainter& m_p;
    qreal m_scale = 1;
    QPointF m_origin;
    QColor m_colour;
};

}  // namespace

void DrawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    Grid g(p, box, colour);
    switch (glyph) {
        case Glyph::None:
            break;
        case Glyph::Close:
            g.line(4, 4, 12, 12);
            g.line(12, 4, 4, 12);
            break;
        case Glyph::Cancel:
            g.circle(8, 8, 6);
            g.line(5.5, 5.5, 10.5, 10.5);
            g.line(10.5, 5.5, 5.5, 10.5);
            break;
        case Glyph::Minimize:
            g.line(4, 11, 12, 11);
            break;
        case Glyph::Menu:
            g.line(3, 4.5, 13, 4.5);
            g.line(3, 8, 13, 8);
            g.line(3, 11.5, 13, 11.5);
            break;
        case Glyph::Help:
            g.circle(8, 8, 6.5);
            g.poly({{6, 6.3},
                    {6.4, 5},
                    {8, 4.5},
                    {9.6, 5},
                    {10, 6.3},
                    {9.4, 7.4},
                    {8, 8.2},
                    {8, 9.4}});
            g.dot(8, 11.6, 0.9);
            break;
        case Glyph::Link:
            g.circle(8, 8, 6.5);
            p.drawEllipse(g.rect(5, 1.5, 6, 13));
            g.line(1.5, 8, 14.5, 8);
            break;
        case Glyph::Plus:
            g.line(8, 3.5, 8, 12.5);
            g.line(3.5, 8, 12.5, 8);
            break;
        case Glyph::Minus:
            g.line(3.5, 8, 12.5, 8);
            break;
        case Glyph::Folder:
            g.poly({{2, 4}, {6, 4}, {7.5, 5.5}, {14, 5.5}, {14, 12.5}, {2, 12.5}, {2, 4}});
            g.line(2, 7.5, 14, 7.5);
            break;
        case Glyph::Record:
            g.dot(8, 8, 4.2);
            break;
        case Glyph::Top:
            g.line(3.5, 3, 12.5, 3);
            g.poly({{4, 10}, {8, 6}, {12, 10}});
            g.line(8, 6, 8, 13.5);
            break;
        case Glyph::Up:
            g.poly({{4, 10}, {8, 6}, {12, 10}});
            break;
        case Glyph::Down:
            g.poly({{4, 6}, {8, 10}, {12, 6}});
            break;
        case Glyph::Bottom:
            g.line(3.5, 13, 12.5, 13);
            g.poly({{4, 6}, {8, 10}, {12, 6}});
            g.line(8, 2.5, 8, 10);
            break;
        case Glyph::Trash:
            g.line(2.5, 4.5, 13.5, 4.5);
            g.poly({{6, 4.5}, {6.5, 2.5}, {9.5, 2.5}, {10, 4.5}});
            g.poly({{4, 4.5}, {4.8, 13.5}, {11.2, 13.5}, {12, 4.5}});
            g.line(6.8, 7, 6.8, 11);
            g.line(9.2, 7, 9.2, 11);
            break;
        case Glyph::Eraser:
            g.poly({{6, 13}, {2.5, 9.5}, {9, 3}, {13.5, 7.5}, {8, 13}, {14, 13}});
            g.line(5.2, 6.6, 10, 11.4);
            break;
        case Glyph::Keyboard:
            g.box(1.5, 4, 13, 8.5, 1.5);
            for (qreal x : {4.0, 6.7, 9.3, 12.0})
                g.dot(x, 6.6, 0.6);
            for (qreal x : {4.0, 12.0})
                g.dot(x, 9.8, 0.6);
            g.line(6, 9.8, 10, 9.8);
            break;
        case Glyph::Save:
            g.line(8, 2.5, 8, 10);
            g.poly({{4.5, 7}, {8, 10.5}, {11.5, 7}});
            g.poly({{2.5, 10}, {2.5, 13.5}, {13.5, 13.5}, {13.5, 10}});
            break;
        case Glyph::Upload:
            g.line(8, 11, 8, 2.5);
            g.poly({{4.5, 6}, {8, 2.5}, {11.5, 6}});
            g.poly({{2.5, 10}, {2.5, 13.5}, {13.5, 13.5}, {13.5, 10}});
            break;
        case Glyph::Caps:
            g.box(1.5, 1.5, 13, 13, 3);
            g.letter(QStringLiteral("A"), 8.5);
            break;
        case Glyph::Num:
            g.box(1.5, 1.5, 13, 13, 3);
            g.letter(QStringLiteral("1"), 8.5);
            break;
        case Glyph::Scroll:
            g.box(1.5, 1.5, 13, 13, 3);
            g.poly({{5.5, 6}, {8, 3.8}, {10.5, 6}});
            g.poly({{5.5, 10}, {8, 12.2}, {10.5, 10}});
            g.line(8, 3.8, 8, 12.2);
            break;
        case Glyph::Flip:
            g.poly({{5, 5}, {8, 2}, {11, 5}});
            g.poly({{5, 11}, {8, 14}, {11, 11}});
            break;
        case Glyph::Chevron:
            g.poly({{4.5, 6.5}, {8, 10}, {11.5, 6.5}});
            break;
        case Glyph::Macro:
            g.box(1.5, 3, 13, 10, 2);
            g.dot(5, 8, 1.6);
            g.line(8.5, 6, 12, 6);
            g.line(8.5, 8, 12, 8);
            g.line(8.5, 10, 11, 10);
            break;
        case Glyph::Profiles:
            g.poly({{8, 2}, {14, 5}, {8, 8}, {2, 5}, {8, 2}});
            g.poly({{2, 8}, {8, 11}, {14, 8}});
            g.poly({{2, 11}, {8, 14}, {14, 11}});
            break;
        case Glyph::Media:
            g.line(6, 12, 6, 3.5);
            g.line(6, 3.5, 13, 2.5);
            g.line(13, 2.5, 13, 11);
            g.dot(4.4, 12, 1.8);
            g.dot(11.4, 11, 1.8);
            break;
        case Glyph::Function:
            g.box(2, 2, 12, 12, 2.5);
            g.letter(QStringLiteral("fx"), 8);
            break;
    }
    p.restore();
}

}  // namespace skingen
