#include "gui/widgets/tinted_face.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace korvel {
namespace {

// Below this lift over the cap a face has no legend worth keeping.
constexpr int kLegendContrast = 48;
// The dark legend of a light tint: the tint at a fifth of its brightness.
constexpr int kShadeFactor = 500;

int Mix(int a, int b, double weight) {
    return static_cast<int>(a + (b - a) * weight + 0.5);
}

}  // namespace

QImage TintedFace(const QImage& face, const QColor& tint) {
    QImage out = face.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull()) {
        return out;
    }
    // The cap is what most of the face shows; the legend is its lightest part.
    std::vector<QRgb> pixels;
    pixels.reserve(static_cast<std::size_t>(out.width() * out.height()));
    for (int y = 0; y < out.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(out.constScanLine(y));
        pixels.insert(pixels.end(), line, line + out.width());
    }
    const auto byLevel = [](QRgb a, QRgb b) { return qGray(a) < qGray(b); };
    auto middle = pixels.begin() + static_cast<std::ptrdiff_t>(pixels.size() / 2);
    std::nth_element(pixels.begin(), middle, pixels.end(), byLevel);
    const QRgb capColour = *middle;
    const QRgb legendColour = *std::max_element(pixels.begin(), pixels.end(), byLevel);
    const int cap = qGray(capColour);
    const int legend = qGray(legendColour);
    const bool hasLegend = legend - cap >= kLegendContrast;
    // The legend keeps its own colour, or takes a deep shade of the tint when that stands out
    // more from the tinted cap.
    const int tintedCap =
        qGray(Mix(qRed(capColour), tint.red(), 0.5), Mix(qGreen(capColour), tint.green(), 0.5),
              Mix(qBlue(capColour), tint.blue(), 0.5));
    const QColor shade = tint.darker(kShadeFactor);
    const QColor ink =
        std::abs(qGray(shade.rgb()) - tintedCap) > std::abs(legend - tintedCap) ? shade : QColor();

    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            int r = Mix(qRed(p), tint.red(), 0.5);
            int g = Mix(qGreen(p), tint.green(), 0.5);
            int b = Mix(qBlue(p), tint.blue(), 0.5);
            if (hasLegend) {
                const double weight =
                    std::clamp(static_cast<double>(qGray(p) - cap) / (legend - cap), 0.0, 1.0);
                const QColor keep = ink.isValid() ? ink : QColor(p);
                r = Mix(r, keep.red(), weight);
                g = Mix(g, keep.green(), weight);
                b = Mix(b, keep.blue(), weight);
            }
            line[x] = qRgba(r, g, b, qAlpha(p));
        }
    }
    return out;
}

}  // namespace korvel
