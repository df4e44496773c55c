#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include "gui/skin/folder_skin.h"
#include "gui/skin/mask_region.h"
#include "gui/skin/skin_palette.h"
#include "gui/skin/skin_surfaces.h"
#include "gui/widgets/base_dialog.h"
#include "gui/widgets/image_slider.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "text/app_paths.h"
#include "text/text_table.h"

namespace korvel {
namespace {

// A picture whose every pixel tells where it is: red = x, green = y, blue = state.
QPixmap CoordinatePicture(int state) {
    QImage image(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x % 256, y, state));
        }
    }
    return QPixmap::fromImage(image);
}

SkinSurfaces CoordinateSurfaces() {
    return SkinSurfaces{CoordinatePicture(1), CoordinatePicture(2), CoordinatePicture(3),
                        CoordinatePicture(4), CoordinatePicture(5), nullptr};
}

QRgb FirstPixel(CPngButton& button) {
    return button.grab().toImage().pixel(0, 0);
}

class SkinFolder : public ::testing::Test {
protected:
    // The skin of a description file in the folder (no captions).
    std::shared_ptr<const DialogSkin> SkinOf(const QString& name) {
        const std::filesystem::path folder = dir.path().toStdU16String();
        return MakeFolderSkin(SkinFile{folder / name.toStdU16String(), folder}, noTexts,
                              CaptionLanguage::Table);
    }
    void WriteIni(const QString& name, const QString& text) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    void WriteImage(const QString& name, const QImage& image) {
        ASSERT_TRUE(image.save(dir.filePath(name)));
    }

    QTemporaryDir dir;
    TextTable noTexts{{}};
};
// Faces decoded on helper threads ("Threaded": the sanitizer runs take them).
class ThreadedSkinFolder : public SkinFolder {};

TEST_F(SkinFolder, ImageButtonPlacementAndFaces) {
    WriteIni("Profile.ini",
             "[BUTTONINFO]\nFUNC_ADD=10,20,50,14\nFUNC_LOAD=1,1,80,20\nFUNC_DELETE=5,6\n");
    const auto skin = SkinOf("Profile.ini");
    const SkinSurfaces surfaces = CoordinateSurfaces();
    QWidget dialog;
    CPngButton add(&dialog), load(&dialog), remove(&dialog), missing(&dialog);
    PlaceImageButton(&add, *skin, "BUTTONINFO", "FUNC_ADD", &surfaces);
    PlaceImageButton(&load, *skin, "BUTTONINFO", "FUNC_LOAD", &surfaces);
    PlaceImageButton(&remove, *skin, "BUTTONINFO", "FUNC_DELETE", &surfaces);
    PlaceImageButton(&missing, *skin, "BUTTONINFO", "CONTROL_OK", &surfaces);

    EXPECT_EQ(add.geometry(), QRect(10, 20, 50, 14));
    EXPECT_TRUE(add.isEnabled());
    EXPECT_EQ(FirstPixel(add), qRgb(9, 19, 1)) << "the face starts one pixel up and left";
    EXPECT_FALSE(load.isEnabled()) << "placed at (1, 1): left out";
    EXPECT_EQ(load.size(), QSize(80, 20));
    EXPECT_EQ(remove.geometry(), QRect(5, 6, 0, 0));
    EXPECT_EQ(missing.geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(missing.isEnabled());
}

TEST(PngButton, SurfaceFollowsTheState) {
    const SkinSurfaces surfaces = CoordinateSurfaces();
    QWidget dialog;
    CPngButton button(&dialog);
    button.setGeometry(40, 30, 20, 10);
    button.SetPicturesAt(40, 30, &surfaces);
    EXPECT_EQ(FirstPixel(button), qRgb(39, 29, 1));
    button.SetChecked(true);
    EXPECT_EQ(FirstPixel(button), qRgb(39, 29, 5));
    button.setEnabled(false);
    EXPECT_EQ(FirstPixel(button), qRgb(39, 29, 4)) << "disabled wins over checked";
    button.setEnabled(true);
    button.setDown(true);
    EXPECT_EQ(button.CurrentSurface(), &surfaces.pressed);
}

// Packed pictures keep only the buttons' faces; each button still shows its own pixels.
TEST(PngButton, PackedSurfacesShowTheSameFaces) {
    const QRect faces[] = {QRect(39, 29, 20, 10), QRect(199, 149, 40, 30)};
    const auto atlas = FaceAtlas::Pack({faces[0], faces[1], faces[0]});
    EXPECT_LT(atlas->Size().width() * atlas->Size().height(), 300 * 200 / 10);
    SkinSurfaces packed;
    packed.normal = QPixmap::fromImage(atlas->PackPicture(CoordinatePicture(1).toImage()));
    packed.atlas = atlas;
    QWidget dialog;
    CPngButton first(&dialog), second(&dialog);
    first.setGeometry(40, 30, 20, 10);
    first.SetPicturesAt(40, 30, &packed);
    second.setGeometry(200, 150, 40, 30);
    second.SetPicturesAt(200, 150, &packed);
    EXPECT_EQ(FirstPixel(first), qRgb(39, 29, 1));
    EXPECT_EQ(FirstPixel(second), qRgb(199, 149, 1));
    EXPECT_EQ(atlas->Find(QRect(41, 30, 5, 5)).value().size(), QSize(5, 5)) << "a part of a face";
    EXPECT_FALSE(atlas->Find(QRect(0, 0, 5, 5))) << "not packed";
}

// Normal faces drawn into the background at their buttons' places: each button shows its own face,
// the one on top wins where places overlap, the rest of the background is untouched, and a face
// beyond the normal picture shows the dialog's ground there.
TEST(PngButton, FacesDrawnIntoTheBackgroundAtTheirPlaces) {
    const auto atlas = FaceAtlas::Arrange({{QRect(9, 9, 60, 30), QPoint(10, 10)},
                                           {QRect(99, 19, 20, 10), QPoint(20, 20)},
                                           {QRect(290, 190, 20, 20), QPoint(200, 150)}});
    QPixmap background = CoordinatePicture(0);
    atlas->DrawFaces(background, CoordinatePicture(1).toImage());
    const QImage drawn = background.toImage();
    EXPECT_EQ(drawn.pixel(10, 10), qRgb(9, 9, 1)) << "the backdrop's face";
    EXPECT_EQ(drawn.pixel(20, 20), qRgb(99, 19, 1)) << "the key above it, drawn later";
    EXPECT_EQ(drawn.pixel(5, 5), qRgb(5, 5, 0)) << "outside every place";
    EXPECT_EQ(drawn.pixel(219, 169), QColor::fromRgb(skin_palette::kWindow).rgb())
        << "beyond the normal picture";

    SkinSurfaces surfaces;
    surfaces.normal = background;
    surfaces.atlas = atlas;
    QWidget dialog;
    CPngButton key(&dialog);
    key.setGeometry(20, 20, 20, 10);
    key.SetPicturesAt(100, 20, &surfaces);
    EXPECT_EQ(FirstPixel(key), qRgb(99, 19, 1));
    EXPECT_EQ(atlas->Find(QRect(9, 9, 60, 30)), QRect(10, 10, 60, 30));
}

// A face decoded on its own shows exactly the pixels the packed picture would: for a lossy
// picture too, and with the dialog's ground where the face reaches beyond the picture.
TEST_F(ThreadedSkinFolder, FacesDecodedOneByOneMatchThePackedPicture) {
    QImage gradient(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < gradient.height(); ++y) {
        for (int x = 0; x < gradient.width(); ++x) {
            gradient.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 5) % 256, (x ^ y) % 256));
        }
    }
    const QRect faces[] = {QRect(39, 29, 20, 10), QRect(0, 0, 17, 9), QRect(290, 195, 20, 10),
                           QRect(123, 77, 61, 33)};
    for (const char* name : {"face.jpg", "face.png"}) {
        SCOPED_TRACE(name);
        WriteImage(name, gradient);
        const QString file = dir.filePath(name);
        const auto atlas = FaceAtlas::Pack({std::begin(faces), std::end(faces)});
        const QImage packed = atlas->PackPicture(QImage(file));
        const LazyFaces lazy(file);
        // The same faces decoded together, ahead, in one pass.
        const LazyFaces ahead(file);
        ahead.Prefetch({std::begin(faces), std::end(faces)});
        for (const QRect& face : faces) {
            const QImage alone = lazy.Face(face).toImage().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(alone, packed.copy(atlas->Find(face).value())) << face.x() << "," << face.y();
            EXPECT_EQ(lazy.Face(face).cacheKey(), lazy.Face(face).cacheKey()) << "kept";
            EXPECT_EQ(ahead.Face(face).toImage().convertToFormat(QImage::Format_RGB32), alone)
                << "prefetched " << face.x() << "," << face.y();
        }
    }
    EXPECT_TRUE(LazyFaces(dir.filePath("gone.jpg")).Face(faces[0]).isNull());
    const LazyFaces gone(dir.filePath("gone.jpg"));
    gone.Prefetch({faces[0]});
    EXPECT_TRUE(gone.Face(faces[0]).isNull());
}

TEST_F(SkinFolder, ButtonsShowFacesDecodedOneByOne) {
    WriteImage("down.png", CoordinatePicture(3).toImage());
    WriteImage("disabled.png", CoordinatePicture(4).toImage());
    SkinSurfaces surfaces = CoordinateSurfaces();
    surfaces.pressed = QPixmap();
    surfaces.disabled = QPixmap();
    surfaces.lazyPressed = std::make_shared<const LazyFaces>(dir.filePath("down.png"));
    surfaces.lazyDisabled = std::make_shared<const LazyFaces>(dir.filePath("disabled.png"));
    QWidget dialog;
    CPngButton button(&dialog);
    button.setGeometry(40, 30, 20, 10);
    button.SetPicturesAt(40, 30, &surfaces);
    EXPECT_EQ(FirstPixel(button), qRgb(39, 29, 1));
    button.setDown(true);
    EXPECT_EQ(FirstPixel(button), qRgb(39, 29, 3));
    button.setDown(false);
    button.setEnabled(false);
    EXPECT_EQ(FirstPixel(button), qRgb(39, 29, 4));
}

// Before a dialog shows, the faces its visible buttons are about to show are decoded ahead: they
// are there even once the picture is gone; a hidden button's face is not among them.
TEST_F(ThreadedSkinFolder, FacesAboutToShowAreDecodedAhead) {
    WriteImage("disabled.png", CoordinatePicture(4).toImage());
    SkinSurfaces surfaces = CoordinateSurfaces();
    surfaces.disabled = QPixmap();
    surfaces.lazyDisabled = std::make_shared<const LazyFaces>(dir.filePath("disabled.png"));
    QWidget dialog;
    CPngButton first(&dialog), second(&dialog), hidden(&dialog), enabled(&dialog);
    const std::pair<CPngButton*, QPoint> places[] = {
        {&first, {40, 30}}, {&second, {100, 60}}, {&hidden, {200, 100}}, {&enabled, {10, 10}}};
    for (const auto& [button, at] : places) {
        button->setGeometry(QRect(at, QSize(20, 10)));
        button->SetPicturesAt(at.x(), at.y(), &surfaces);
        button->setEnabled(button == &enabled);
    }
    hidden.hide();
    PrefetchShownFaces(dialog);
    EXPECT_EQ(FirstPixel(first), qRgb(39, 29, 4));
    ASSERT_TRUE(QFile::remove(dir.filePath("disabled.png")));
    EXPECT_EQ(FirstPixel(second), qRgb(99, 59, 4)) << "decoded ahead";
    EXPECT_EQ(FirstPixel(hidden), hidden.palette().color(QPalette::Window).rgb())
        << "not decoded ahead: the picture is gone now, the ground shows";
}

TEST(PngButton, TooltipOnlyWithText) {
    CPngButton button;
    button.SetTooltip(QString());
    EXPECT_TRUE(button.toolTip().isEmpty());
    button.SetTooltip("A: sends B");
    EXPECT_EQ(button.toolTip(), "A: sends B");
}

TEST(PngButton, DoubleClickActsAsAClick) {
    QWidget dialog;
    CPngButton button(&dialog);
    button.setGeometry(0, 0, 30, 20);
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &doubleClick);
    EXPECT_EQ(clicks.count(), 1);
}

// A slider works before its faces are given (they are read when it is first shown): a position
// set meanwhile is kept, a click picks the position under the mouse, and the faces then show it.
TEST(ImageSlider, WorksBeforeItsFacesAreGiven) {
    CImageSlider slider(6);
    slider.setGeometry(0, 0, 120, 20);
    QSignalSpy moved(&slider, &CImageSlider::moved);
    slider.SetPosition(3);
    EXPECT_EQ(slider.Position(), 3);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(5 * 20 + 10, 10));
    EXPECT_EQ(slider.Position(), 5);
    EXPECT_EQ(moved.count(), 1);
    slider.SetPosition(9);
    EXPECT_EQ(slider.Position(), 5) << "kept within its positions";

    std::vector<QPixmap> faces;
    for (int p = 0; p < 6; ++p) {
        QPixmap face(120, 20);
        face.fill(QColor(p * 40, 0, 0));
        faces.push_back(face);
    }
    slider.SetFaces(std::move(faces));
    EXPECT_EQ(slider.Position(), 5);
    EXPECT_EQ(slider.grab().toImage().pixel(60, 10), QColor(200, 0, 0).rgb());
}

TEST(MaskRegion, WhiteIsOutsideAndManyRunsStayWhole) {
    QImage mask(400, 300, QImage::Format_RGB32);
    mask.fill(Qt::white);
    long inside = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = (y % 2); x < mask.width(); x += 3) {  // about 40000 runs
            mask.setPixel(x, y, qRgb(0, 0, 0));
            ++inside;
        }
    }
    mask.setPixel(399, 299, qRgb(254, 255, 255));  // nearly white is inside
    ++inside;
    const QRegion region = RegionFromMask(mask);
    long area = 0;
    for (const QRect& r : region) {
        area += static_cast<long>(r.width()) * r.height();
    }
    EXPECT_EQ(area, inside);
    EXPECT_TRUE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(1, 0)));
    EXPECT_TRUE(region.contains(QPoint(399, 299)));
    QImage white(10, 10, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_TRUE(RegionFromMask(white).isEmpty());
}

TEST_F(SkinFolder, DialogTakesSizeAndShapeFromItsPictures) {
    QImage background(120, 80, QImage::Format_RGB32);
    background.fill(qRgb(30, 30, 40));
    WriteImage("back.jpg", background);
    QImage mask(120, 80, QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (int y = 0; y < 80; ++y) {
        mask.setPixel(0, y, qRgb(255, 255, 255));
    }
    WriteImage("mask.bmp", mask);

    WriteIni("Own.ini", "[SCREEN]\nMain=back.jpg\nMask=mask.bmp\n");
    CBaseDialog shaped(nullptr, SkinOf("Own.ini"));
    ASSERT_TRUE(shaped.ApplySkin()) << shaped.SkinError().toStdString();
    EXPECT_EQ(shaped.size(), QSize(120, 80));
    EXPECT_FALSE(shaped.WindowShape().contains(QPoint(0, 10)));
    EXPECT_TRUE(shaped.WindowShape().contains(QPoint(1, 10)));

    WriteIni("NoMask.ini", "[SCREEN]\nMain=back.jpg\n");
    CBaseDialog plain(nullptr, SkinOf("NoMask.ini"));
    ASSERT_TRUE(plain.ApplySkin());
    EXPECT_TRUE(plain.WindowShape().contains(QPoint(0, 10))) << "the background is the mask";

    WriteIni("Broken.ini", "[SCREEN]\nMain=back.jpg\nMask=gone.bmp\n");
    CBaseDialog broken(nullptr, SkinOf("Broken.ini"));
    EXPECT_FALSE(broken.ApplySkin());
    EXPECT_TRUE(broken.SkinError().contains("gone.bmp")) << broken.SkinError().toStdString();

    // A background whose header reads but whose pixels are cut off: refused, naming the file.
    WriteImage("back.png", background);
    QFile whole(dir.filePath("back.png"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QFile cut(dir.filePath("cut.png"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(whole.size() / 2));
    cut.close();
    WriteIni("Cut.ini", "[SCREEN]\nMain=cut.png\nMask=mask.bmp\n");
    CBaseDialog truncated(nullptr, SkinOf("Cut.ini"));
    EXPECT_FALSE(truncated.ApplySkin());
    EXPECT_TRUE(truncated.SkinError().contains("cut.png")) << truncated.SkinError().toStdString();
}

// A quick click on the dialog's surface (press and release with no motion between, as a tap or
// xdotool gives) moves nothing and leaves no move running; a press held and dragged moves it, and
// its release ends the move.
TEST_F(SkinFolder, OnlyAPressHeldAndDraggedMovesADialog) {
    QImage background(60, 40, QImage::Format_RGB32);
    background.fill(Qt::gray);
    WriteImage("back.png", background);
    WriteIni("D.ini", "[SCREEN]\nMain=back.png\n");
    CBaseDialog dialog(nullptr, SkinOf("D.ini"));
    ASSERT_TRUE(dialog.ApplySkin());
    dialog.move(100, 100);
    dialog.show();
    const QPoint start = dialog.pos();
    const auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButtons held) {
        QMouseEvent event(type, local, dialog.mapToGlobal(local),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&dialog, &event);
    };
    send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {10, 10}, Qt::NoButton);
    EXPECT_FALSE(dialog.Moving()) << "the release ended it";
    // A stale button state after the release must not move the window either.
    send(QEvent::MouseMove, {40, 30}, Qt::LeftButton);
    EXPECT_EQ(dialog.pos(), start);

    send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    EXPECT_TRUE(dialog.Moving());
    send(QEvent::MouseMove, {40, 30}, Qt::LeftButton);
    EXPECT_NE(dialog.pos(), start) << "held and dragged: it follows";
    send(QEvent::MouseButtonRelease, {40, 30}, Qt::NoButton);
    EXPECT_FALSE(dialog.Moving());
}

// Enter never closes a skinned dialog nor presses a button that does not have the focus; Escape
// closes it as its window manager's close does.
TEST_F(SkinFolder, EnterNeverClosesADialogAndEscapeClosesIt) {
    QImage background(60, 40, QImage::Format_RGB32);
    background.fill(Qt::gray);
    WriteImage("back.png", background);
    WriteIni("D.ini", "[SCREEN]\nMain=back.png\n");
    CBaseDialog dialog(nullptr, SkinOf("D.ini"));
    ASSERT_TRUE(dialog.ApplySkin());
    CPngButton button(&dialog);
    dialog.show();
    QSignalSpy finished(&dialog, &QDialog::finished);
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&dialog, key);
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(clicks.count(), 0);

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(clicks.count(), 0);
}

}  // namespace
}  // namespace korvel
