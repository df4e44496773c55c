#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <map>

#include "gui/skin/picture_scale.h"
#include "panel_bitmaps.h"
#include "skin_layout.h"
#include "skin_painter.h"
#include "support/picture_difference.h"

namespace skingen {
namespace {

// How far apart (mean difference) a drawn 2× face lies at least from the 1× face stretched: the
// same stretch would leave nothing but rounding.
constexpr double kDrawnNotStretched = 1.0;

using korvel::fixtures::MeanDifference;

// The faces of the main window's controls as its buttons cut them, at 1× and 2×: exactly twice as
// large, drawn again at twice the resolution, so that the 2× face is not the 1× one blown up (in
// either of Qt's ways), yet shows the same thing at the same place.
TEST(DoublePictures, AFaceAt2xIsDrawnAtTwiceTheResolution) {
    const Dialog main = BuildSkin().front();
    std::map<State, std::pair<QImage, QImage>> pictures;
    for (State state : {State::Normal, State::Over, State::Checked, State::Disabled}) {
        pictures[state] = {RenderStatePicture(main, state, kMainPlain, 1),
                           RenderStatePicture(main, state, kMainPlain, korvel::kDoubleScale)};
    }
    const struct {
        const char* control;
        State state;
    } cases[] = {
        {"KEY_01E", State::Normal},       // A: a one-letter legend
        {"KEY_00E", State::Over},         // Backspace: a word, an accent outline
        {"KEY_001", State::Checked},      // Esc: the accent bar of an assigned key
        {"FUNC_G1", State::Disabled},     // G1: a low cap, a dimmed legend
        {"LOCK_CAPS", State::Checked},    // a lit lamp and a glyph
        {"FUNC_REPORT1", State::Normal},  // a piece of a segmented control with its label
        {"CONTROL_CLOSE", State::Over},   // a glyph on a filled ground
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        const Control* control = main.find(c.control);
        ASSERT_NE(control, nullptr);
        // A button cuts its face one pixel up and left of its place (RenderStatePicture).
        const QRect face = control->rect.translated(-1, -1);
        const auto& [full1, full2] = pictures[c.state];
        ASSERT_EQ(full2.size(), full1.size() * 2);
        const QImage one = full1.copy(face);
        const QImage two = full2.copy(korvel::ScaledRect(face, korvel::kDoubleScale));
        EXPECT_EQ(two.size(), one.size() * 2);
        EXPECT_EQ(two.devicePixelRatio(), korvel::kDoubleScale);
        for (Qt::TransformationMode stretch : {Qt::FastTransformation, Qt::SmoothTransformation}) {
            EXPECT_GT(MeanDifference(two, one.scaled(two.size(), Qt::IgnoreAspectRatio, stretch)),
                      kDrawnNotStretched)
                << "the 2x face is the 1x face stretched";
        }
        // Scaled down it is closer to the 1× face than the 1× picture one pixel off is.
        const QImage down = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (QPoint off : {QPoint(1, 0), QPoint(0, 1)}) {
            EXPECT_LT(MeanDifference(down, one),
                      MeanDifference(down, full1.copy(face.translated(off))))
                << "the 2x face is not the 1x face's picture at its place";
        }
    }
}

}  // namespace
}  // namespace skingen
