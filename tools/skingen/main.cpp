// skingen: draws the default skin.
//   skingen <folder>          writes every dialog's INI file and picture, at 1× and 2×, into
//                             <folder>
//   skingen --check <folder>  checks a skin folder; exit status 1 when anything is missing or wrong
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "gui/skin/picture_scale.h"
#include "ini_writer.h"
#include "panel_bitmaps.h"
#include "skin_check.h"
#include "skin_layout.h"
#include "skin_painter.h"

namespace {

using namespace skingen;

bool Save(const QDir& dir, const QString& name, const QImage& image) {
    const QString path = dir.filePath(name);
    QImageWriter writer(path);
    if (name.endsWith(QLatin1String(".jpg"))) {
        writer.setFormat("jpg");
        writer.setQuality(95);
        writer.setOptimizedWrite(true);
        if (writer.write(image))
            return true;
    } else {
        // Lossless, so a mask's white stays exactly white: masks in two colours, bitmaps in 24
        // bits.
        // PNG pictures keep their transparency.
        const bool png = name.endsWith(QLatin1String(".png"));
        writer.setFormat(png ? "png" : "bmp");
        if (writer.write(image.depth() == 1 || png ? image
                                                   : image.convertToFormat(QImage::Format_RGB888)))
            return true;
    }
    std::fprintf(stderr, "skingen: cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
}

bool SaveText(const QDir& dir, const QString& name, const QByteArray& text) {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size())
        return true;
    std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(file.fileName()));
    return false;
}

int Generate(const QString& folder) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "skingen: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    bool ok = true;
    const std::vector<Dialog> skin = BuildSkin();
    for (const Dialog& d : skin) {
        ok = SaveText(dir, d.iniFile, IniText(d)) && ok;
        ok = Save(dir, d.mask, RenderMask(d)) && ok;
    }
    // Every picture twice: as the skin names it, and drawn at twice the resolution beside it.
    for (int scale : {1, korvel::kDoubleScale}) {
        auto save = [&](const QString& name, const QImage& image) {
            ok = Save(dir, korvel::ScaledPictureName(name, scale), image) && ok;
        };
        for (const Dialog& d : skin) {
            save(d.background, RenderBackground(d, scale));
            for (const StatePicture& s : d.pictures)
                save(s.file, RenderStatePicture(d, s.state, s.variant, scale));
        }
        const Dialog& main = skin.front();
        for (const NamedImage& bitmap : RenderPanelBitmaps(main, scale))
            save(bitmap.file, bitmap.image);
        const NamedImage comboArrow = RenderComboArrow(scale);
        save(comboArrow.file, comboArrow.image);
        save(QStringLiteral("Arrow.jpg"),
             RenderArrowPicture(main.find("LEFT_ARROW")->rect.size(), scale));
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--check")) {
        const int problems = skingen::CheckSkin(args[1]);
        if (problems)
            std::fprintf(stderr, "skin: %d problem(s) in %s\n", problems, qPrintable(args[1]));
        return problems ? 1 : 0;
    }
    if (args.size() == 1 && !args[0].startsWith(QLatin1String("--")))
        return Generate(args[0]);
    std::fprintf(stderr, "usage: skingen <folder> | skingen --check <folder>\n");
    return 2;
}
