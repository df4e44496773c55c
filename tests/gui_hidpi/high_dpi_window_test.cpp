#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QImageReader>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "gui/editors/korvel_dlg_composite.h"
#include "gui/editors/korvel_dlg_macro.h"
#include "gui/editors/profile_dialog.h"
#include "gui/editors/update_dialog.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/skin/mask_region.h"
#include "gui/skin/picture_scale.h"
#include "gui/widgets/png_button.h"
#include "support/picture_difference.h"

namespace korvel {
namespace {

// A picture of the skin beside the program.
QString SkinFile(const QString& name) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Skins/") + name;
}

QString DoubleFile(const QString& name) {
    return SkinFile(ScaledPictureName(name, kDoubleScale));
}

// How far (mean difference) what a button shows may lie from its face in the 2× picture: at a
// ratio of 2 it is that face pixel for pixel; at 1.5 Qt's painter scales it down, which differs a
// little from the image's own smooth scaling.
constexpr double kExact = 0.01;
constexpr double kScaledDown = 1.5;

using fixtures::MeanDifference;

// The window and its dialogs on a screen of a device pixel ratio above 1 (2, or 1.5 in the second
// run of this program).
class HighDpiWindow : public fixtures::MainWindowFixture {
protected:
    void SetUp() override { ASSERT_GT(qApp->devicePixelRatio(), 1.0); }
};

// A dialog reads the 2× drawing of its background and faces, and keeps its size, its shape and
// its buttons' faces in logical pixels: as large as the 1× pictures, cut by the 1× mask.
void ExpectDrawnAt2x(CBaseDialog* dialog, const QString& background, const QString& mask) {
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Skin().PicturePath(background), DoubleFile(background));
    EXPECT_EQ(dialog->size(), QImageReader(SkinFile(background)).size());
    EXPECT_EQ(dialog->WindowShape(), RegionFromMask(QImage(SkinFile(mask))));
    int faces = 0;
    for (const CPngButton* button : dialog->findChildren<CPngButton*>()) {
        const SkinSurfaces* surfaces = button->Surfaces();
        if (surfaces == nullptr || !button->isVisibleTo(dialog)) {
            continue;
        }
        const auto face = surfaces->Face(button->CurrentSurface(), button->FaceRect());
        if (face && !face->first.isNull()) {
            ++faces;
            EXPECT_EQ(face->first.devicePixelRatio(), kDoubleScale)
                << button->objectName().toStdString();
            EXPECT_EQ(face->second.size(), button->size() * kDoubleScale)
                << button->objectName().toStdString();
        }
    }
    EXPECT_GT(faces, 0);
}

TEST_F(HighDpiWindow, TheWindowAndEveryDialogShowThe2xPicturesInLogicalPlaces) {
    auto window = StartShown();
    const struct {
        const char* name;
        std::function<CBaseDialog*()> open;
        const char* background;
        const char* mask;
    } dialogs[] = {
        {"main window", [&] { return window.get(); }, "main_bg.jpg", "main_mask.bmp"},
        {"key editor",
         [&] {
             window->Editors().OpenKeyEditor(kKeyA);
             return window->Editors().KeyEditor();
         },
         "composite_bg.jpg", "composite_mask.bmp"},
        {"macro editor",
         [&] {
             window->Editors().OpenMacroEditor();
             return window->Editors().MacroEditor();
         },
         "macro_bg.jpg", "macro_mask.bmp"},
        {"profile manager",
         [&] {
             window->Dialogs().OpenProfileManager();
             return window->Dialogs().ProfileManager();
         },
         "profile_bg.jpg", "profile_mask.bmp"},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.name);
        CBaseDialog* dialog = d.open();
        ExpectDrawnAt2x(dialog, d.background, d.mask);
        if (dialog != window.get()) {
            dialog->close();
        }
    }
    // The window's other pictures: the flip arrows, the lighting panel's, the progress frames.
    for (const char* picture : {"Arrow.jpg", "dengup.bmp", "jdt1.bmp"}) {
        EXPECT_EQ(window->Skin().PicturePath(picture), DoubleFile(picture));
    }
    // The update dialog runs modally: it is read while it runs.
    QTimer::singleShot(0, window.get(), [&] {
        SCOPED_TRACE("update dialog");
        ExpectDrawnAt2x(window->Dialogs().UpdateDialog(), "update_bg.jpg", "update_mask.bmp");
        window->Dialogs().UpdateDialog()->reject();
    });
    window->Dialogs().OpenUpdateDialog();
    window->Shutdown();
}

// A key shows each of its states from the 2× picture of that state, at its place in the skin: at
// a ratio of 2 pixel for pixel, at 1.5 scaled down smoothly; either way far from the 1× face
// blown up.
TEST_F(HighDpiWindow, AKeyShowsEachStateFromThe2xPicture) {
    auto window = StartShown();
    CPngButton* key = window->Keys().ButtonOfControl(kKeyEsc);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(QRect(key->mapTo(window.get(), QPoint(0, 0)), key->size()),
              window->Skin().Rect(QStringLiteral("BUTTONINFO"), QStringLiteral("KEY_001")))
        << "the key lies where the skin places it, in logical pixels";
    const qreal ratio = key->devicePixelRatioF();
    const struct {
        const char* state;
        std::function<void(bool)> set;
        const char* picture;
    } states[] = {
        {"normal", [](bool) {}, "main_normal.jpg"},
        {"hover",
         [&](bool on) {
             if (on) {
                 QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
                 QCoreApplication::sendEvent(key, &enter);
             } else {
                 QEvent leave(QEvent::Leave);
                 QCoreApplication::sendEvent(key, &leave);
             }
         },
         "main_over.jpg"},
        {"checked", [&](bool on) { key->SetChecked(on); }, "main_color0.jpg"},
        {"disabled", [&](bool on) { key->setEnabled(!on); }, "main_disable.jpg"},
    };
    for (const auto& s : states) {
        SCOPED_TRACE(s.state);
        s.set(true);
        const QImage shown = key->grab().toImage();
        s.set(false);
        EXPECT_EQ(shown.size(), (QSizeF(key->size()) * ratio).toSize());
        const QImage drawn =
            QImage(DoubleFile(s.picture))
                .copy(ScaledRect(key->FaceRect(), kDoubleScale))
                .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage stretched =
            QImage(SkinFile(s.picture))
                .copy(key->FaceRect())
                .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(MeanDifference(shown, drawn), ratio == kDoubleScale ? kExact : kScaledDown);
        EXPECT_GT(MeanDifference(shown, stretched), 2 * MeanDifference(shown, drawn))
            << "the key shows the 1x face blown up";
    }
    window->Shutdown();
}

// The rows from Esc to Backspace as the window shows them: the 2× background (whose faces match
// the buttons' normal faces) at this ratio, every key at its place, none a pixel off.
TEST_F(HighDpiWindow, TheKeysLieWhereThe2xBackgroundPutsThem) {
    auto window = StartShown();
    const QRect rows =
        window->Skin().Rect(QStringLiteral("BUTTONINFO"), QStringLiteral("KEY_001")) |
        window->Skin().Rect(QStringLiteral("BUTTONINFO"), QStringLiteral("KEY_00E"));
    const QImage shown = window->grab(rows).toImage();
    const QImage background(DoubleFile(QStringLiteral("main_bg.jpg")));
    const auto at = [&](QPoint off) {
        return background.copy(ScaledRect(rows.translated(off), kDoubleScale))
            .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const double placed = MeanDifference(shown, at(QPoint(0, 0)));
    for (QPoint off : {QPoint(1, 0), QPoint(0, 1)}) {
        EXPECT_LT(4 * placed, MeanDifference(shown, at(off)))
            << "the keys lie nearer to the picture one logical pixel off";
    }
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
