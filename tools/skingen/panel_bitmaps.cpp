#include "panel_bitmaps.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>
#include <stdexcept>

#include "glyphs.h"
#include "skin_painter.h"

namespace skingen {

namespace {

QColor C(unsigned rgb, int alpha = 255) {
    QColor c = QColor::fromRgb(rgb);
    c.setAlpha(alpha);
    return c;
}

QSize SizeOf(const Dialog& main, const char* key) {
    const Control* c = main.find(key);
    if (!c)
        throw std::logic_error(std::string("no control ") + key);
    return c->rect.size();
}

// A bitmap of `size` logical pixels drawn at `scale`, on the colour of what lies behind it.
QImage Bitmap(QSize size, int scale, unsigned behind,
              const std::function<void(QPainter&, QRectF)>& draw) {
    QImage image = Canvas(size, scale);
    image.fill(C(behind));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5));
    return image;
}

void Pill(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge) {
    p.setPen(edge.alpha() ? QPen(edge, 1) : Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r, 6, 6);
}

// A choice button of the panel: plain, or chosen (accent).
QImage Choice(QSize size, int scale, bool chosen,
              const std::function<void(QPainter&, QRectF, QColor)>& mark) {
    return Bitmap(size, scale, palette::kCard, [&](QPainter& p, QRectF r) {
        Pill(p, r, chosen ? C(0x1d3f4d) : C(palette::kCap),
             chosen ? C(palette::kAccent) : C(palette::kEdge));
        mark(p, r, chosen ? C(palette::kAccent) : C(palette::kLegend));
    });
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& ink) {
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    p.drawLine(to, to - d * 5 + n * 4);
    p.drawLine(to, to - d * 5 - n * 4);
}

QImage Switch(QSize size, int scale, bool on) {
    return Bitmap(size, scale, palette::kCard, [&](QPainter& p, QRectF r) {
        const QRectF track(r.center().x() - 22, r.center().y() - 11, 44, 22);
        p.setPen(Qt::NoPen);
        p.setBrush(on ? C(palette::kAccent) : C(palette::kCap));
        p.drawRoundedRect(track, 11, 11);
        p.setBrush(on ? QColor(Qt::white) : C(palette::kMuted));
        p.drawEllipse(QPointF(on ? track.right() - 11 : track.left() + 11, track.center().y()), 8,
                      8);
    });
}

QImage Multicolour(QSize size, int scale, bool on) {
    return Bitmap(size, scale, palette::kCard, [&](QPainter& p, QRectF r) {
        Pill(p, r, C(palette::kCap), on ? C(palette::kAccent) : C(palette::kEdge));
        const QRectF band = r.adjusted(28, 9, -8, -9);
        QLinearGradient g(band.topLeft(), band.topRight());
        const unsigned hues[] = {0xff4d4d, 0xffb84d, 0xf5f54d, 0x4ddc6a,
                                 0x4dc4ff, 0x8a5cff, 0xff4dd2};
        for (int i = 0; i < 7; ++i)
            g.setColorAt(i / 6.0, C(hues[i], on ? 255 : 90));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(band, 3, 3);
        const QRectF box(r.left() + 8, r.center().y() - 7, 14, 14);
        p.setPen(QPen(on ? C(palette::kAccent) : C(palette::kMuted), 1.4));
        p.setBrush(on ? C(palette::kAccent) : Qt::transparent);
        p.drawRoundedRect(box, 3, 3);
        if (on) {
            p.setPen(QPen(C(palette::kWindow), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(
                QPolygonF({box.topLeft() + QPointF(3.2, 7.2), box.topLeft() + QPointF(6, 10),
                           box.topLeft() + QPointF(11, 4)}));
        }
    });
}

QImage Chip(QSize size, int scale, unsigned colour, bool chosen) {
    return Bitmap(size, scale, palette::kCard, [&](QPainter& p, QRectF r) {
        if (chosen)
            Pill(p, r, Qt::transparent, C(palette::kAccent));
        Pill(p, r.adjusted(4, 4, -4, -4), C(colour, chosen ? 255 : 200),
             chosen ? QColor(Qt::white) : Qt::transparent);
        if (chosen) {
            const QPointF c = r.center();
            p.setPen(QPen(QColor(20, 20, 20, 200), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(
                QPolygonF({c + QPointF(-5, 0), c + QPointF(-1.5, 3.5), c + QPointF(5, -3.5)}));
        }
    });
}

void Brush(QPainter& p, QRectF r, QColor ink) {
    const QPointF c = r.center();
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(c + QPointF(6, -8), c + QPointF(-1, 1));
    p.setBrush(ink);
    p.drawEllipse(c + QPointF(-3.5, 4), 3.5, 3.5);
}

void Bucket(QPainter& p, QRectF r, QColor ink) {
    const QPointF c = r.center();
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF(
        {c + QPointF(-7, -2), c + QPointF(0, -9), c + QPointF(7, -2), c + QPointF(0, 5)}));
    p.setBrush(ink);
    p.drawEllipse(c + QPointF(8, 5), 2, 2.5);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({c + QPointF(-7, -2), c + QPointF(7, -2), c + QPointF(0, 5)}));
}

// A level 0..5 as lit segments after a small sign (sun for brightness, chevrons for speed).
QImage Level(QSize size, int scale, int level, bool speed) {
    return Bitmap(size, scale, palette::kCard, [&](QPainter& p, QRectF r) {
        const QPointF sign(r.left() + 11, r.center().y());
        p.setPen(QPen(C(palette::kMuted), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (speed) {
            for (qreal dx : {-4.0, 2.0})
                p.drawPolyline(QPolygonF(
                    {sign + QPointF(dx, -5), sign + QPointF(dx + 4, 0), sign + QPointF(dx, 5)}));
        } else {
            p.drawEllipse(sign, 3.5, 3.5);
            for (int i = 0; i < 8; ++i) {
                const qreal a = i * M_PI / 4;
                const QPointF d(std::cos(a), std::sin(a));
                p.drawLine(sign + d * 6, sign + d * 8);
            }
        }
        constexpr int kSegments = 5;
        const qreal left = r.left() + 28, gap = 5;
        const qreal w = (r.right() - left - (kSegments - 1) * gap) / kSegments;
        p.setPen(Qt::NoPen);
        for (int i = 0; i < kSegments; ++i) {
            const QRectF seg(left + i * (w + gap), r.center().y() - 4, w, 8);
            p.setBrush(i < level ? C(palette::kAccent, 120 + 27 * (i + 1)) : C(palette::kCap));
            p.drawRoundedRect(seg, 4, 4);
        }
    });
}

// One frame of the busy ring shown beside Apply.
QImage ProgressFrame(QSize size, int scale, int frame) {
    return Bitmap(size, scale, palette::kWindow, [&](QPainter& p, QRectF r) {
        const QRectF ring = r.adjusted(4, 4, -4, -4);
        p.setPen(QPen(C(palette::kCap), 3));
        p.drawEllipse(ring);
        p.setPen(QPen(C(palette::kAccent), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(ring, int((90 - frame * 36) * 16), int(-100 * 16));
    });
}

}  // namespace

std::vector<NamedImage> RenderPanelBitmaps(const Dialog& main, int scale) {
    std::vector<NamedImage> out;
    const QSize power = SizeOf(main, "CONTROL_DengStaPic");
    out.push_back({"dengup.bmp", Switch(power, scale, false)});
    out.push_back({"dengdown.bmp", Switch(power, scale, true)});

    const QSize dir = SizeOf(main, "CONTROL_BLFXLStaPic");
    auto direction = [&](bool chosen, int kind) {
        return Choice(dir, scale, chosen, [kind](QPainter& p, QRectF r, QColor ink) {
            const QPointF c = r.center();
            switch (kind) {
                case 0:
                    Arrow(p, c + QPointF(10, 0), c + QPointF(-10, 0), ink);
                    break;  // left
                case 1:
                    Arrow(p, c + QPointF(-10, 0), c + QPointF(10, 0), ink);
                    break;  // right
                case 2:     // spread
                    Arrow(p, c + QPointF(-3, 0), c + QPointF(-16, 0), ink);
                    Arrow(p, c + QPointF(3, 0), c + QPointF(16, 0), ink);
                    break;
                default:  // converge
                    Arrow(p, c + QPointF(-17, 0), c + QPointF(-4, 0), ink);
                    Arrow(p, c + QPointF(17, 0), c + QPointF(4, 0), ink);
                    break;
            }
        });
    };
    out.push_back({"leftup.bmp", direction(false, 0)});
    out.push_back({"leftdown.bmp", direction(true, 0)});
    out.push_back({"rightup.bmp", direction(false, 1)});
    out.push_back({"rightdown.bmp", direction(true, 1)});
    out.push_back({"kuosan.bmp", direction(false, 2)});
    out.push_back({"kuosandown.bmp", direction(true, 2)});
    out.push_back({"julong.bmp", direction(false, 3)});
    out.push_back({"julongdown.bmp", direction(true, 3)});

    const QSize dc = SizeOf(main, "CONTROL_HXsjsStaPic");
    out.push_back({"sjsup.bmp", Multicolour(dc, scale, false)});
    out.push_back({"sjsdown.bmp", Multicolour(dc, scale, true)});

    const QSize chip = SizeOf(main, "CONTROL_HONGPIC");
    for (auto [name, colour] : {std::pair{"hong", 0xff3b3bu},
                                {"huang", 0xffcf33u},
                                {"lv", 0x35d46au},
                                {"lan", 0x3b7bffu}}) {
        out.push_back({QStringLiteral("%1.bmp").arg(name), Chip(chip, scale, colour, false)});
        out.push_back({QStringLiteral("%1ok.bmp").arg(name), Chip(chip, scale, colour, true)});
    }

    const QSize tool = SizeOf(main, "CONTROL_USERgjStaPic1");
    out.push_back({"user1up.bmp", Choice(tool, scale, false, Brush)});
    out.push_back({"user1down.bmp", Choice(tool, scale, true, Brush)});
    out.push_back({"user2up.bmp", Choice(tool, scale, false, Bucket)});
    out.push_back({"user2down.bmp", Choice(tool, scale, true, Bucket)});

    const QSize slider = SizeOf(main, "CONTROL_LightSlider");
    for (int n = 0; n <= 5; ++n)
        out.push_back({QStringLiteral("%1.bmp").arg(n), Level(slider, scale, n, false)});
    for (int p = 0; p <= 5; ++p)
        out.push_back({QStringLiteral("%1.bmp").arg(6 + p), Level(slider, scale, p, true)});

    const QSize progress = SizeOf(main, "CONTROL_JDTStatic");
    for (int i = 1; i <= 10; ++i)
        out.push_back({QStringLiteral("jdt%1.bmp").arg(i), ProgressFrame(progress, scale, i - 1)});
    return out;
}

NamedImage RenderComboArrow(int scale) {
    QImage image = Canvas(QSize(12, 12), scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawGlyph(p, Glyph::Chevron, QRectF(0, 0, 12, 12), C(palette::kLegend));
    return {QStringLiteral("combo_arrow.png"), image};
}

}  // namespace skingen
