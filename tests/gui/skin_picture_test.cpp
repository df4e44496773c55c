#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <vector>

#include "gui/skin/skin_picture.h"

namespace korvel {
namespace {

// A picture with detail everywhere, so that any difference in decoding shows.
QImage Detailed(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (y * 5 + x / 3) % 256, (x ^ y) % 256));
        }
    }
    return image;
}

QImage ReadByQt(const QString& file, const QRect& clip = QRect()) {
    QImageReader reader(file);
    if (!clip.isNull()) {
        reader.setClipRect(clip);
    }
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// Pictures decoded on helper threads ("Threaded": the sanitizer runs take them).
class ThreadedSkinPicture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Save(const char* name, const QImage& image, int quality = -1) {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path, nullptr, quality));
        return path;
    }
    QTemporaryDir m_dir;
};

// A skin picture decoded whole or in part gives exactly the pixels Qt's reader gives for it, for
// faces anywhere in the picture: at the top, inside, on the bottom line, at the edges.
TEST_F(ThreadedSkinPicture, JpegPixelsAreThoseOfQtsReader) {
    const QImage picture = Detailed(301, 203);
    for (int quality : {75, 95}) {
        SCOPED_TRACE(quality);
        const QString file = Save("picture.jpg", picture, quality);
        EXPECT_EQ(DecodeSkinPicture(file), ReadByQt(file));
        for (const QRect& clip :
             {QRect(0, 0, 40, 30), QRect(57, 61, 83, 45), QRect(250, 180, 51, 23),
              QRect(0, 202, 301, 1), QRect(100, 17, 1, 170)}) {
            EXPECT_EQ(DecodeSkinPicture(file, clip), ReadByQt(file, clip))
                << clip.x() << "," << clip.y() << " " << clip.width() << "x" << clip.height();
        }
    }
}

// Faces decoded together in one pass are each exactly what Qt's reader gives for it alone: faces
// far apart (the lines between skipped), overlapping, a whole line, one reaching past the edge.
TEST_F(ThreadedSkinPicture, FacesDecodedTogetherAreEachAsAlone) {
    const QString file = Save("picture.jpg", Detailed(301, 203), 95);
    const std::vector<QRect> faces = {QRect(10, 3, 40, 20), QRect(200, 170, 60, 25),
                                      QRect(30, 10, 50, 30), QRect(0, 100, 301, 2),
                                      QRect(280, 190, 40, 40)};
    const SkinFaces decoded = DecodeSkinFaces(file, faces);
    EXPECT_EQ(decoded.picture, QSize(301, 203));
    const std::vector<QImage>& together = decoded.faces;
    ASSERT_EQ(together.size(), faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        EXPECT_EQ(together[f], ReadByQt(file, faces[f] & QRect(0, 0, 301, 203))) << f;
    }
    const SkinFaces png =
        DecodeSkinFaces(Save("picture.png", Detailed(40, 30)), {QRect(1, 2, 3, 4)});
    EXPECT_EQ(png.picture, QSize(40, 30));
    EXPECT_EQ(png.faces.front(), Detailed(40, 30).copy(1, 2, 3, 4));
}

TEST_F(ThreadedSkinPicture, OtherFormatsAndDamagedFiles) {
    const QImage picture = Detailed(40, 30);
    const QString png = Save("picture.png", picture);
    EXPECT_EQ(DecodeSkinPicture(png), picture);
    EXPECT_EQ(DecodeSkinPicture(png, QRect(5, 6, 10, 12)), picture.copy(5, 6, 10, 12));

    QString error;
    EXPECT_TRUE(DecodeSkinPicture(m_dir.filePath("gone.jpg"), QRect(), &error).isNull());
    EXPECT_FALSE(error.isEmpty());

    // A JPEG start and nothing after it: refused by both decoders.
    QFile broken(m_dir.filePath("broken.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray::fromHex("ffd8ffe000104a46494600"));
    broken.close();
    error.clear();
    EXPECT_TRUE(DecodeSkinPicture(broken.fileName(), QRect(), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace korvel
