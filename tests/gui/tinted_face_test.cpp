#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "gui/widgets/tinted_face.h"

namespace korvel {
namespace {

// A 20 x 20 cap with a 6 x 6 legend in its middle.
QImage Face(bool withLegend) {
    QImage face(20, 20, QImage::Format_ARGB32);
    face.fill(QColor(0x2a, 0x2f, 0x3a));
    if (withLegend) {
        for (int y = 7; y < 13; ++y) {
            for (int x = 7; x < 13; ++x) {
                face.setPixel(x, y, QColor(0xdf, 0xe4, 0xec).rgb());
            }
        }
    }
    return face;
}

TEST(TintedFace, CapTakesHalfTheTintAndTheLegendStaysReadable) {
    for (const QColor tint : {QColor(Qt::white), QColor(Qt::yellow), QColor(Qt::cyan),
                              QColor(Qt::blue), QColor(Qt::red), QColor(Qt::black)}) {
        const QImage tinted = TintedFace(Face(true), tint);
        const QColor cap = tinted.pixelColor(1, 1);
        EXPECT_NEAR(cap.red(), (0x2a + tint.red()) / 2, 1) << tint.name().toStdString();
        EXPECT_NEAR(cap.blue(), (0x3a + tint.blue()) / 2, 1) << tint.name().toStdString();
        const int lift = std::abs(qGray(tinted.pixel(10, 10)) - qGray(cap.rgb()));
        EXPECT_GE(lift, 80) << "legend against its cap under " << tint.name().toStdString();
    }
}

TEST(TintedFace, AFaceWithoutLegendIsTintedEvenly) {
    const QImage tinted = TintedFace(Face(false), QColor(Qt::white));
    EXPECT_EQ(tinted.pixelColor(10, 10), tinted.pixelColor(1, 1));
}

}  // namespace
}  // namespace korvel
