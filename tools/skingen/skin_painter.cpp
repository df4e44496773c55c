#include "skin_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "glyphs.h"

namespace skingen {

namespace {

constexpr qreal kCapRadius = 5;
constexpr qreal kWindowRadius = 10;
constexpr qreal kDisabledOpacity = 0.35;

QColor C(unsigned rgb, int alpha = 255) {
    QColor c = QColor::fromRgb(rgb);
    c.setAlpha(alpha);
    return c;
}

QFont Face(int pixels, QFont::Weight weight = QFont::Normal) {
    QFont f(QStringLiteral("Noto Sans"));
    f.setFamilies({QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"),
                   QStringLiteral("WenQuanYi Micro Hei")});
    f.setPixelSize(pixels);
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QRectF Inner(const QRect& r) {
    return QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
}

void FillRounded(QPainter& p, const QRectF& r, qreal radius, const QColor& fill,
                 const QColor& edge = Qt::transparent) {
    p.setBrush(fill);
    p.setPen(edge.alpha() ? QPen(edge, 1) : Qt::NoPen);
    p.drawRoundedRect(r, radius, radius);
}

// A key cap: flat, a soft highlight on its top edge, the legend centred.
void DrawKey(QPainter& p, const Control& c, State s) {
    const QRectF r = Inner(c.rect);
    QColor fill = C(palette::kCap), edge = Qt::transparent;
    switch (s) {
        case State::Over:
            fill = C(palette::kCapHover);
            edge = C(palette::kAccent);
            break;
        case State::Down:
            fill = C(palette::kCapDown);
            edge = C(palette::kAccent, 140);
            break;
        case State::Disabled:
            fill = C(0x252932);
            break;
        default:
            break;
    }
    FillRounded(p, r, kCapRadius, fill, edge);
    if (s == State::Normal || s == State::Checked || s == State::Over) {
        p.setPen(QPen(C(0xffffff, s == State::Over ? 20 : 26), 1));
        p.drawLine(QPointF(r.left() + kCapRadius, r.top() + 1),
                   QPointF(r.right() - kCapRadius, r.top() + 1));
    }
    const bool low = r.height() < 34;  // the G keys: the mark goes to the left edge
    if (s == State::Checked) {
        const qreal barW = qMin<qreal>(r.width() - 12, 28);
        p.setPen(Qt::NoPen);
        p.setBrush(C(palette::kAccent));
        if (low)
            p.drawRoundedRect(QRectF(r.left() + 4, r.top() + 6, 3, r.height() - 12), 1.5, 1.5);
        else
            p.drawRoundedRect(QRectF(r.center().x() - barW / 2, r.bottom() - 6, barW, 3), 1.5, 1.5);
        p.setBrush(C(palette::kAccent, 36));
        p.drawRoundedRect(r, kCapRadius, kCapRadius);
    }
    if (c.text.isEmpty())
        return;

    const bool twoLines = c.text.contains(QLatin1Char('\n'));
    int px = c.text.size() == 1 ? 15 : (twoLines ? 10 : 12);
    QFont f = Face(px, c.text.size() == 1 ? QFont::DemiBold : QFont::Medium);
    while (px > 8 && QFontMetricsF(f).boundingRect(QRectF(r), Qt::AlignCenter, c.text).width() >
                         r.width() - 6)
        f.setPixelSize(--px);
    p.setFont(f);
    QColor ink = s == State::Over ? QColor(Qt::white) : C(palette::kLegend);
    if (s == State::Disabled)
        ink.setAlphaF(kDisabledOpacity);
    p.setPen(ink);
    QRectF textBox = r.adjusted(2, 1, -2, s == State::Checked && !low ? -4 : -1);
    if (s == State::Down)
        textBox.translate(0, 1);
    p.drawText(textBox, Qt::AlignCenter, c.text);
}

QColor GlyphInk(State s, bool strong = false) {
    switch (s) {
        case State::Over:
            return Qt::white;
        case State::Down:
            return C(palette::kAccent);
        case State::Checked:
            return C(palette::kAccent);
        case State::Disabled:
            return C(palette::kLegend, int(255 * kDisabledOpacity));
        default:
            return strong ? C(palette::kLegend) : C(palette::kMuted);
    }
}

void DrawButton(QPainter& p, const Control& c, State s) {
    const QRectF r = Inner(c.rect);
    const bool primary = c.look == Look::Primary;
    QColor fill = primary ? C(palette::kAccentDeep) : C(palette::kCap);
    QColor edge = primary ? C(0x2bb3e0) : C(palette::kEdge);
    switch (s) {
        case State::Over:
            fill = primary ? C(0x20a0cf) : C(palette::kCapHover);
            edge = C(palette::kAccent);
            break;
        case State::Down:
            fill = primary ? C(0x136887) : C(palette::kCapDown);
            edge = C(palette::kAccent, 150);
            break;
        case State::Checked:
            fill = primary ? C(0x20a0cf) : C(0x1d3f4d);
            edge = C(palette::kAccent);
            break;
        case State::Disabled:
            fill = C(0x22262e);
            edge = Qt::transparent;
            break;
        default:
            break;
    }
    FillRounded(p, r, 6, fill, edge);
    if (c.glyph != Glyph::None) {  // a drop-down mark at the right end
        DrawGlyph(p, c.glyph, QRectF(r.right() - 22, r.center().y() - 7, 14, 14), GlyphInk(s));
    }
}

// A cap with its glyph: centred on a small button, at the left of a wide one (the program may
// draw a caption in the rest).
void DrawToolButton(QPainter& p, const Control& c, State s) {
    const QRectF r = Inner(c.rect);
    const bool recording = s == State::Checked && c.glyph == Glyph::Record;
    QColor fill = C(palette::kCap), edge = C(palette::kEdge);
    switch (s) {
        case State::Over:
            fill = C(palette::kCapHover);
            edge = C(palette::kAccent);
            break;
        case State::Down:
            fill = C(palette::kCapDown);
            edge = C(palette::kAccent, 150);
            break;
        case State::Checked:
            fill = recording ? C(0x4a2326) : C(0x1d3f4d);
            edge = recording ? C(palette::kDanger) : C(palette::kAccent);
            break;
        case State::Disabled:
            fill = C(0x22262e);
            edge = Qt::transparent;
            break;
        default:
            break;
    }
    FillRounded(p, r, 6, fill, edge);
    const qreal side = qMin<qreal>(16, r.height() - 8);
    const QRectF box =
        r.width() > 60 ? QRectF(r.left() + 9, r.center().y() - side / 2, side, side)
                       : QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    QColor ink = GlyphInk(s, true);
    if (c.glyph == Glyph::Record && s != State::Disabled)
        ink = C(palette::kDanger);
    DrawGlyph(p, c.glyph, box.translated(0, s == State::Down ? 1 : 0), ink);
}

void DrawIcon(QPainter& p, const Control& c, State s) {
    const QRectF r = Inner(c.rect);
    if (s == State::Over)
        FillRounded(p, r, 6, c.glyph == Glyph::Close ? C(palette::kDanger) : C(palette::kCapHover));
    if (s == State::Down)
        FillRounded(p, r, 6, c.glyph == Glyph::Close ? C(0xb3373b) : C(palette::kCapDown));
    const qreal side = qMin<qreal>(16, r.height() - 8);
    DrawGlyph(p, c.glyph,
              QRectF(r.center().x() - side / 2,
                     r.center().y() - side / 2 + (s == State::Down ? 1 : 0), side, side),
              GlyphInk(s, true));
}

// One piece of a segmented control; the pieces together make one rounded bar.
void DrawSegment(QPainter& p, const Control& c, State s) {
    const QRectF group = Inner(c.group);
    QPainterPath shape;
    shape.addRoundedRect(group, 6, 6);
    // Pressed is the chosen piece (the page shown), checked the chosen one of a set: both are lit.
    const bool lit = s == State::Down || s == State::Checked;
    p.save();
    p.setClipRect(c.rect);
    QColor fill = C(palette::kCap);
    switch (s) {
        case State::Over:
            fill = C(palette::kCapHover);
            break;
        case State::Down:
            fill = C(0x193642);
            break;
        case State::Checked:
            fill = C(0x1d3f4d);
            break;
        case State::Disabled:
            fill = C(0x22262e);
            break;
        default:
            break;
    }
    p.setPen(s == State::Disabled ? Qt::NoPen : QPen(C(palette::kEdge), 1));
    p.setBrush(fill);
    p.drawPath(shape);
    if (c.rect.x() > c.group.x() && !lit &&
        s != State::Over) {  // the seam to the piece at the left
        p.setPen(QPen(C(palette::kEdge), 1));
        p.drawLine(QPointF(c.rect.x() + 0.5, group.top() + 8),
                   QPointF(c.rect.x() + 0.5, group.bottom() - 8));
    }
    if (s == State::Over || lit) {
        const QRectF piece = QRectF(c.rect).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath inner;
        inner.addRoundedRect(piece, 6, 6);
        p.setPen(QPen(C(palette::kAccent, s == State::Over ? 255 : 170), 1));
        p.setBrush(Qt::NoBrush);
        p.setClipPath(shape);
        p.drawPath(inner);
    }
    if (lit) {
        p.setPen(Qt::NoPen);
        p.setBrush(C(palette::kAccent));
        const qreal w = qMin<qreal>(c.rect.width() - 20, 36);
        p.drawRoundedRect(QRectF(c.rect.center().x() + 0.5 - w / 2, c.rect.bottom() - 5, w, 3), 1.5,
                          1.5);
    }
    p.restore();
    if (!c.text.isEmpty()) {
        p.setFont(Face(12, QFont::Medium));
        QColor ink = lit                ? C(palette::kAccent)
                     : s == State::Over ? QColor(Qt::white)
                                        : C(palette::kLegend);
        if (s == State::Disabled)
            ink.setAlphaF(kDisabledOpacity);
        p.setPen(ink);
        p.drawText(QRectF(c.rect).adjusted(0, 0, 0, lit ? -2 : 0), Qt::AlignCenter, c.text);
    }
}

void DrawLock(QPainter& p, const Control& c, State s) {
    const QRectF r = Inner(c.rect);
    FillRounded(p, r, 6, C(0x14161b), s == State::Over ? C(palette::kAccent) : C(0x2a2f38));
    const qreal led = 3;
    p.setPen(Qt::NoPen);
    // The lamp is lit only on the checked face: the window checks an indicator whose lock is on.
    if (s == State::Checked) {
        p.setBrush(C(palette::kAccent, 230));
        p.drawEllipse(QPointF(r.left() + 12, r.center().y()), led, led);
        p.setBrush(C(palette::kAccent, 40));
        p.drawEllipse(QPointF(r.left() + 12, r.center().y()), led + 3, led + 3);
    } else {
        p.setBrush(C(palette::kEdge));
        p.drawEllipse(QPointF(r.left() + 12, r.center().y()), led, led);
    }
    const qreal side = qMin<qreal>(16, r.height() - 10);
    DrawGlyph(p, c.glyph,
              QRectF(r.center().x() + 6 - side / 2, r.center().y() - side / 2, side, side),
              GlyphInk(s));
}

void DrawBankPanel(QPainter& p, const Control& c, State s) {
    const QRectF r = Inner(c.rect);
    FillRounded(p, r, 8, C(0x14161b), s == State::Over ? C(palette::kAccent) : C(0x2a2f38));
    // The bank badge above G1.
    const QRectF badge(r.center().x() - 14, r.top() + 5, 28, 14);
    FillRounded(p, badge, 7, C(palette::kAccent, s == State::Disabled ? 60 : 200));
    p.setFont(Face(10, QFont::Bold));
    p.setPen(C(palette::kWindow));
    p.drawText(badge, Qt::AlignCenter, QStringLiteral("A"));
}

void DrawFlipPanel(QPainter& p, const Control& c, State s) {
    const int alpha = s == State::Over ? 150 : s == State::Disabled ? 30 : 70;
    FillRounded(p, Inner(c.rect), 7, C(palette::kAccent, 14), C(palette::kAccent, alpha));
}

void DrawFlipToggle(QPainter& p, const Control& c, State s) {
    const QRectF r = Inner(c.rect);
    QColor fill = s == State::Over   ? C(palette::kCapHover)
                  : s == State::Down ? C(palette::kCapDown)
                                     : C(palette::kCap);
    if (s == State::Disabled)
        fill = C(0x22262e);
    FillRounded(p, r, r.width() / 2, fill,
                s == State::Over ? C(palette::kAccent) : Qt::transparent);
    const qreal side = r.width() - 4;
    DrawGlyph(p, c.glyph, QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side),
              GlyphInk(s, true));
}

void DrawTitle(QPainter& p, const Control& c, int variant) {
    const QRectF box(c.rect.x() + 4, c.rect.y() + 2, 28, 28);
    FillRounded(p, box, 7, C(palette::kAccent, 38), C(palette::kAccent, 110));
    DrawGlyph(p, variant == kPageMacroOnly ? Glyph::Macro : Glyph::Keyboard,
              box.adjusted(6, 6, -6, -6), C(palette::kAccent));
}

void DrawCard(QPainter& p, const QRect& r) {
    FillRounded(p, Inner(r), 10, C(palette::kCard), C(0x272c36));
}

void DrawPage(QPainter& p, const Control& c, int variant) {
    DrawCard(p, c.rect);
    const Glyph mark = variant == kPageMedia       ? Glyph::Media
                       : variant == kPageFunction  ? Glyph::Function
                       : variant == kPageMacroOnly ? Glyph::Macro
                                                   : Glyph::Keyboard;
    DrawGlyph(p, mark, QRectF(c.rect.right() - 150, c.rect.bottom() - 150, 128, 128),
              C(palette::kAccent, 16));
}

void DrawControl(QPainter& p, const Control& c, State s, int variant) {
    switch (c.look) {
        case Look::None:
            break;
        case Look::Well:
            FillRounded(p, Inner(c.rect), 6, C(0x111318), C(0x2a2f38));
            break;
        case Look::Key:
            DrawKey(p, c, s);
            break;
        case Look::Button:
        case Look::Primary:
            DrawButton(p, c, s);
            break;
        case Look::Icon:
            DrawIcon(p, c, s);
            break;
        case Look::ToolButton:
            DrawToolButton(p, c, s);
            break;
        case Look::Segment:
            DrawSegment(p, c, s);
            break;
        case Look::Lock:
            DrawLock(p, c, s);
            break;
        case Look::BankPanel:
            DrawBankPanel(p, c, s);
            break;
        case Look::FlipPanel:
            DrawFlipPanel(p, c, s);
            break;
        case Look::FlipToggle:
            DrawFlipToggle(p, c, s);
            break;
        case Look::Title:
            DrawTitle(p, c, variant);
            break;
        case Look::Page:
            DrawPage(p, c, variant);
            break;
    }
}

void DrawDecor(QPainter& p, const Decor& d) {
    switch (d.kind) {
        case DecorKind::TitleStrip:
            p.fillRect(d.rect, C(palette::kTitle));
            p.fillRect(QRect(d.rect.left(), d.rect.bottom(), d.rect.width(), 1), C(0x0c0d11));
            break;
        case DecorKind::Wordmark: {
            const QRectF mark(d.rect.x(), d.rect.center().y() - 7, 14, 14);
            FillRounded(p, mark, 3, C(palette::kAccent));
            FillRounded(p, mark.adjusted(4, 4, -4, -4), 1, C(palette::kTitle));
            QFont f = Face(15, QFont::Bold);
            f.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
            p.setFont(f);
            p.setPen(C(palette::kLegend));
            p.drawText(QRectF(d.rect).adjusted(22, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                       QStringLiteral("KORVEL"));
            break;
        }
        case DecorKind::Plate:
            FillRounded(p, Inner(d.rect), 12, C(palette::kPlate), C(0x242830));
            break;
        case DecorKind::Card:
            DrawCard(p, d.rect);
            break;
        case DecorKind::Divider:
            p.fillRect(d.rect, C(0x262b34));
            break;
        case DecorKind::Watermark: {
            if (d.glyph == Glyph::None)
                break;
            const QRectF box(d.rect.x() + 2, d.rect.y(), 28, 28);
            FillRounded(p, box, 7, C(palette::kAccent, 38), C(palette::kAccent, 110));
            DrawGlyph(p, d.glyph, box.adjusted(6, 6, -6, -6), C(palette::kAccent));
            break;
        }
    }
}

bool InVariant(int mask, int variant) {
    return (mask >> variant) & 1;
}

// Backdrops first, so the controls that lie on them stay on top.
bool IsBackdrop(Look look) {
    return look == Look::BankPanel || look == Look::FlipPanel || look == Look::Page;
}

void Paint(QPainter& p, const Dialog& d, State state, int variant) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRect(QPoint(-2, -2), d.size + QSize(4, 4)), C(palette::kWindow));
    for (const Decor& decor : d.decor)
        if (InVariant(decor.variants, variant))
            DrawDecor(p, decor);
    for (bool backdrops : {true, false})
        for (const Control& c : d.controls)
            if (!c.hidden && IsBackdrop(c.look) == backdrops && InVariant(c.variants, variant))
                DrawControl(p, c, state, variant);
}

}  // namespace

namespace {

QImage Render(const Dialog& dialog, State state, int variant, QPoint origin, int scale) {
    QImage image = Canvas(dialog.size, scale);
    QPainter p(&image);
    p.translate(origin);
    Paint(p, dialog, state, variant);
    return image;
}

}  // namespace

QImage Canvas(QSize size, int scale, QImage::Format format) {
    QImage image(size * scale, format);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage RenderBackground(const Dialog& dialog, int scale) {
    return Render(dialog, State::Normal, 0, QPoint(0, 0), scale);
}

QImage RenderStatePicture(const Dialog& dialog, State state, int variant, int scale) {
    return Render(dialog, state, variant, QPoint(-1, -1), scale);
}

QImage RenderMask(const Dialog& dialog) {
    QImage image(dialog.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRect(QPoint(0, 0), dialog.size), kWindowRadius, kWindowRadius);
    p.end();
    return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

QImage RenderArrowPicture(QSize faceSize, int scale) {
    QImage image = Canvas(ArrowPictureSize(), scale);
    image.fill(C(palette::kPlate));
    QPainter p(&image);
    for (const ArrowFace& a : ArrowFaces(faceSize)) {
        const QRectF face(a.rect.translated(-1, -1));
        const QColor ink = a.strong ? C(palette::kAccent) : C(palette::kMuted);
        DrawGlyph(p, a.up ? Glyph::Up : Glyph::Down,
                  QRectF(face.center().x() - 8, face.center().y() - 8, 16, 16), ink);
    }
    return image;
}

}  // namespace skingen
