#include "gui/platform/tray_icon_pictures.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>

#include "ports/main_window_link.h"

namespace korvel {
namespace {

struct Palette {
    QColor body;
    QColor keys;
    QColor accent;
};

Palette PaletteOf(int resourceId) {
    switch (resourceId) {
        case kIconKeyboardPresent:
            return {QColor(0x16, 0x18, 0x1d), QColor(0xd8, 0xdc, 0xe4), QColor(0x27, 0xc4, 0xf5)};
        case kIconKeyboardEvent:
            return {QColor(0x16, 0x18, 0x1d), QColor(0xf2, 0xe6, 0xd8), QColor(0xf5, 0x8a, 0x27)};
        default:
            return {QColor(0x2a, 0x2d, 0x33), QColor(0x80, 0x85, 0x8e), QColor(0x5c, 0x61, 0x6a)};
    }
}

}  // namespace

QPixmap DrawKeyboardIcon(int resourceId, int size) {
    const Palette palette = PaletteOf(resourceId);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    // A keyboard seen from above: a rounded body with an accent rim, three rows of keys and a
    // space bar, on a 32 x 32 grid.
    const QRectF body(1.5, 7.5, 29, 18);
    painter.setPen(QPen(palette.accent, 2.0));
    painter.setBrush(palette.body);
    painter.drawRoundedRect(body, 3.5, 3.5);

    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.keys);
    for (int row = 0; row < 3; ++row) {
        const int keys = row == 2 ? 5 : 6;
        const double left = row == 2 ? 7.0 : 5.0 + row * 1.5;
        for (int key = 0; key < keys; ++key) {
            painter.drawRoundedRect(QRectF(left + key * 3.7, 10.5 + row * 3.6, 2.7, 2.6), 0.6, 0.6);
        }
    }
    painter.setBrush(palette.accent);
    painter.drawRoundedRect(QRectF(9.0, 21.2, 14.0, 2.4), 0.8, 0.8);
    return pixmap;
}

QIcon KeyboardIcon(int resourceId) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        icon.addPixmap(DrawKeyboardIcon(resourceId, size));
    }
    return icon;
}

}  // namespace korvel
