#include "skin_check.h"

#include <QDir>
#include <QImage>
#include <QRect>
#include <QStringList>
#include <cstdio>
#include <map>
#include <vector>

#include "gui/skin/picture_scale.h"
#include "model/keys/key_codes.h"
#include "text/private_profile.h"

// This list is written out by hand from what the dialogs read, on purpose apart from the layout
// table that produced the skin: the check is only worth something if it does not share its source.
namespace skingen {

namespace {

struct Problems {
    int count = 0;
    void operator()(const QString& text) {
        std::fprintf(stderr, "skin: %s\n", qPrintable(text));
        ++count;
    }
};

const QStringList kMacroKeys = {
    "CONTROL_OK",     "CONTROL_CANCEL", "FUNC_DELETE",       "FUNC_ADD",     "FUNC_UP_TOP",
    "FUNC_UP",        "FUNC_DOWN",      "FUNC_DOWN_BOTTOM",  "FUNC_DELETE2", "FUNC_CLEAR",
    "CONTROL2_APPLY", "FUNC_RECORD",    "FUNC_RECORD_DELAY", "PROGRAM_LIST", "PROGRAM_LIST2"};
const QStringList kProfileKeys = {"CONTROL_OK",  "CONTROL_CANCEL", "FUNC_ADD",    "FUNC_LOAD",
                                  "FUNC_DELETE", "CONTROL2_APPLY", "PROGRAM_LIST"};
const QStringList kCompositeKeys = {"CONTROL_MASK",
                                    "CONTROL_TITLE",
                                    "CONTROL_OSK",
                                    "CONTROL_CLEAR",
                                    "CONTROL_MEDIA",
                                    "CONTROL_MACRO",
                                    "CONTROL_KEY",
                                    "CONTROL_FUNCTION",
                                    "CONTROL_OK",
                                    "CONTROL_CANCEL",
                                    "FUNC_MACRO_DELETE",
                                    "FUNC_MACRO_ADD",
                                    "FUNC_MACRO_UP_TOP",
                                    "FUNC_MACRO_UP",
                                    "FUNC_MACRO_DOWN",
                                    "FUNC_MACRO_DOWN_BOTTOM",
                                    "FUNC_MACRO_DELETE2",
                                    "FUNC_MACRO_CLEAR",
                                    "FUNC_MACRO_RECORD",
                                    "FUNC_MACRO_RECORD_DELAY",
                                    "FUNC_MACRO_LIST2",
                                    "FUNC_MACRO_CYCLES",
                                    "FUNC_MACRO_CYCLES_PROMPT",
                                    "TISHI_SINGLE_STATIC",
                                    "MARCO_NAME_SETTING",
                                    "KEY_SETTING",
                                    "MEDIA_SETTING_TISHI",
                                    "FUNCTION_KEY_SETTING_TISHI",
                                    "FUNC_MACRO_RECORD_DELAY2",
                                    "FUNC_KEY_INPUT",
                                    "FUNC_MEDIA_SELECT",
                                    "FUNC_MACRO_LIST",
                                    "FUNC_FUNCTION_SELECT"};
const QStringList kUpdateKeys = {"CONTROL_UPStatic", "CONTROL_UPCombox",   "CONTROL_CUPButton",
                                 "CONTROL_UPButton", "CONTROL_OPENButton", "CONTROL_BACKUPButton"};
const QStringList kMainKeys = {"VELMARO_LINK",
                               "FUNC_PROFILES",
                               "FUNC_MACRO",
                               "CONTROL_OK",
                               "CONTROL_CANCEL",
                               "CONTROL_HELP",
                               "CONTROL_CLOSE",
                               "CONTROL_MINIMIZE",
                               "CONTROL_MENU",
                               "CONTROL2_APPLY",
                               "LOCK_CAPS",
                               "LOCK_NUM",
                               "LOCK_SCROLL",
                               "LOCK_AB",
                               "FLIP_0",
                               "FLIP_1",
                               "FLIP_2",
                               "VELMARO_VER",
                               "FUNC_PROFILE1",
                               "FUNC_PROFILE2",
                               "FUNC_PROFILE3",
                               "FUNC_DEFAULT",
                               "FUNC_SWITCH",
                               "FUNC_REPORT1",
                               "FUNC_REPORT2",
                               "FUNC_REPORT3",
                               "FUNC_REPORT4",
                               "KEY_FN",
                               "LEFT_ARROW",
                               "RIGHT_ARROW",
                               "CONTROL_UsbStatic",
                               "CONTROL_DengStatic",
                               "CONTROL_DengStaPic",
                               "CONTROL_XGcombox",
                               "CONTROL_JDTStatic",
                               "CONTROL_LightStatic",
                               "CONTROL_LightSlider",
                               "CONTROL_SpeedStatic",
                               "CONTROL_SpeedSlider",
                               "CONTROL_BLFXStatic",
                               "CONTROL_BLFXLStaPic",
                               "CONTROL_BLFXRStaPic",
                               "CONTROL_BLFXStatic2",
                               "CONTROL_BLFXLStaPic2",
                               "CONTROL_BLFXRStaPic2",
                               "CONTROL_BLFXStatic3",
                               "CONTROL_BLFXLStaPic3",
                               "CONTROL_BLFXRStaPic3",
                               "CONTROL_FYYSStatic",
                               "CONTROL_FYYSButton",
                               "CONTROL_FYSJSStaPic",
                               "CONTROL_FYSJSStatic",
                               "CONTROL_FYCFStatic",
                               "CONTROL_FYdjcfStatic",
                               "CONTROL_FYggcfStatc",
                               "CONTROL_FYdjcfStaPic",
                               "CONTROL_FYggcfStaPic",
                               "CONTROL_HONGPIC",
                               "CONTROL_HUANGPIC",
                               "CONTROL_LVPIC",
                               "CONTROL_LANPIC",
                               "CONTROL_HXysStatic",
                               "CONTROL_HXysButton",
                               "CONTROL_HXsjsStatic",
                               "CONTROL_HXsjsStaPic",
                               "CONTROL_JTysStatic",
                               "CONTROL_JTysButton",
                               "CONTROL_USERysStatic",
                               "CONTROL_USERysButton",
                               "CONTROL_USERjsStatic",
                               "CONTROL_USERjsButton",
                               "CONTROL_USERgjStatic",
                               "CONTROL_USERgjStaPic1",
                               "CONTROL_USERgjStaPic2",
                               "CONTROL_TSysStatic",
                               "CONTROL_TSysButton",
                               "CONTROL_TSsjsStatic",
                               "CONTROL_TSsjsStaPic",
                               "CONTROL_CDysStatic",
                               "CONTROL_CDysButton",
                               "CONTROL_CDsjsStatic",
                               "CONTROL_CDsjsStaPic",
                               "CONTROL_umCombo"};

// The 104 keys of the key grid, row by row.
const std::vector<korvel::ScanCode> kGridKeys = {
    0x001, 0x03B, 0x03C, 0x03D, 0x03E, 0x03F, 0x040, 0x041, 0x042, 0x043, 0x044, 0x057, 0x058,
    0x137, 0x046, 0x045, 0x029, 0x002, 0x003, 0x004, 0x005, 0x006, 0x007, 0x008, 0x009, 0x00A,
    0x00B, 0x00C, 0x00D, 0x00E, 0x152, 0x147, 0x149, 0x145, 0x135, 0x037, 0x04A, 0x00F, 0x010,
    0x011, 0x012, 0x013, 0x014, 0x015, 0x016, 0x017, 0x018, 0x019, 0x01A, 0x01B, 0x02B, 0x153,
    0x14F, 0x151, 0x047, 0x048, 0x049, 0x04E, 0x03A, 0x01E, 0x01F, 0x020, 0x021, 0x022, 0x023,
    0x024, 0x025, 0x026, 0x027, 0x028, 0x01C, 0x04B, 0x04C, 0x04D, 0x02A, 0x02C, 0x02D, 0x02E,
    0x02F, 0x030, 0x031, 0x032, 0x033, 0x034, 0x035, 0x036, 0x148, 0x04F, 0x050, 0x051, 0x11C,
    0x01D, 0x15B, 0x038, 0x039, 0x138, 0x15D, 0x15C, 0x11D, 0x14B, 0x150, 0x14D, 0x052, 0x053};

struct DialogFiles {
    QString ini;
    QStringList keys;
    QStringList statePictures;
};

std::vector<DialogFiles> Dialogs() {
    QStringList main = kMainKeys;
    for (korvel::ScanCode sc : kGridKeys)
        main << QString::fromStdString(korvel::KeySkinName(korvel::SlotOfScan(sc)));
    for (int n = 1; n <= korvel::kGKeys; ++n)
        main << QString::fromStdString(korvel::GKeySkinName(n));
    auto set = [](const QString& prefix, const QStringList& states) {
        QStringList files;
        for (const QString& s : states)
            files << prefix + "_" + s + ".jpg";
        return files;
    };
    const QStringList four = {"normal", "over", "down", "disable"};
    return {
        {"Main.ini", main,
         set("main",
             four + QStringList{"color0", "color1", "flip_over", "flip_down", "flip_disable"})},
        {"Composite.ini", kCompositeKeys,
         set("key", {"normal", "over", "down"}) + set("macro2", four) +
             set("media", {"normal", "over", "down"}) +
             set("function", {"normal", "over", "down"}) +
             set("macro", four + QStringList{"other"})},
        {"Macro.ini", kMacroKeys, set("macro", four + QStringList{"other"})},
        {"Profile.ini", kProfileKeys, set("Profile", {"normal", "over", "down"})},
        {"UpdateDlg.ini", kUpdateKeys, set("update", {"normal", "over"})},
    };
}

const QStringList kPanelBitmaps = {
    "dengup", "dengdown",   "leftup", "leftdown", "rightup", "rightdown", "kuosan",  "kuosandown",
    "julong", "julongdown", "sjsup",  "sjsdown",  "hong",    "hongok",    "huang",   "huangok",
    "lv",     "lvok",       "lan",    "lanok",    "user1up", "user1down", "user2up", "user2down"};

std::u16string U(const QString& s) {
    return s.toStdU16String();
}

// "x,y,w,h" as the dialogs read it; nullopt-like empty rect when the value is not four numbers.
bool ReadRect(const korvel::PrivateProfile& ini, const char* section, const QString& key,
              QRect& out) {
    const QString value = QString::fromStdU16String(ini.GetString(U(section), U(key)));
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    int n[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        n[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    out = QRect(n[0], n[1], n[2], n[3]);
    return true;
}

double MeanDifference(const QImage& a, const QImage& b, const QRect& r) {
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * r.width() * r.height());
}

// Mean difference between the part `ra` of `a` and the equally large part `rb` of `b`.
double FaceDifference(const QImage& a, const QRect& ra, const QImage& b, const QRect& rb) {
    return MeanDifference(a.copy(ra), b.copy(rb), QRect(QPoint(0, 0), ra.size()));
}

}  // namespace

int CheckSkin(const QString& folder) {
    Problems problem;
    const QDir dir(folder);
    std::map<QString, QImage> loaded;
    QStringList masks;
    auto picture = [&](const QString& name) -> const QImage& {
        auto it = loaded.find(name);
        if (it == loaded.end()) {
            QImage image(dir.filePath(name));
            if (image.isNull())
                problem(QStringLiteral("%1: missing or not decodable").arg(name));
            it = loaded.emplace(name, image).first;
        }
        return it->second;
    };

    for (const DialogFiles& d : Dialogs()) {
        const auto ini = korvel::PrivateProfile::Load(dir.filePath(d.ini).toStdString());
        if (ini.Status() != korvel::FileReadStatus::Ok) {
            problem(d.ini + ": missing");
            continue;
        }
        const QString bgName = QString::fromStdU16String(ini.GetString(u"SCREEN", u"Main"));
        const QString maskName = QString::fromStdU16String(ini.GetString(u"SCREEN", u"Mask"));
        const QImage& bg = picture(bgName);
        const QImage& mask = picture(maskName);
        masks << maskName;
        if (!bg.isNull() && mask.size() != bg.size())
            problem(d.ini + ": mask and background differ in size");
        if (!mask.isNull() &&
            (mask.pixel(0, 0) != qRgb(255, 255, 255) ||
             mask.pixel(mask.width() / 2, mask.height() / 2) == qRgb(255, 255, 255)))
            problem(d.ini + ": mask is not white outside and filled inside");
        const QRect client(QPoint(0, 0), bg.size());
        for (const QString& key : d.keys) {
            QRect r;
            if (!ReadRect(ini, "BUTTONINFO", key, r))
                problem(QStringLiteral("%1: BUTTONINFO %2 missing or malformed").arg(d.ini, key));
            else if (!bg.isNull() && !client.contains(r))
                problem(QStringLiteral("%1: %2 lies outside the dialog").arg(d.ini, key));
        }
        for (const QString& name : d.statePictures) {
            const QImage& image = picture(name);
            if (!image.isNull() && !bg.isNull() && image.size() != bg.size())
                problem(QStringLiteral("%1: %2 is %3x%4, the background %5x%6")
                            .arg(d.ini, name)
                            .arg(image.width())
                            .arg(image.height())
                            .arg(bg.width())
                            .arg(bg.height()));
        }
    }

    // The main window: key buttons apart, hover and checked faces visible, the further sections.
    const auto main = korvel::PrivateProfile::Load(dir.filePath("Main.ini").toStdString());
    std::vector<std::pair<QString, QRect>> keys;
    for (korvel::ScanCode sc : kGridKeys)
        keys.emplace_back(QString::fromStdString(korvel::KeySkinName(korvel::SlotOfScan(sc))),
                          QRect());
    for (int n = 1; n <= korvel::kGKeys; ++n)
        keys.emplace_back(QString::fromStdString(korvel::GKeySkinName(n)), QRect());
    keys.emplace_back("KEY_FN", QRect());
    for (auto& [key, r] : keys)
        ReadRect(main, "BUTTONINFO", key, r);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].second.topLeft() == QPoint(1, 1))
            problem("Main.ini: " + keys[i].first + " is placed as hidden");
        for (std::size_t j = i + 1; j < keys.size(); ++j)
            if (keys[i].second.intersects(keys[j].second))
                problem(
                    QStringLiteral("Main.ini: %1 overlaps %2").arg(keys[i].first, keys[j].first));
    }
    // A face is cut at (x - 1, y - 1): the normal face must then look like the background there.
    const QImage& background = picture("main_bg.jpg");
    const QImage& normal = picture("main_normal.jpg");
    const QImage& over = picture("main_over.jpg");
    const QImage& checked = picture("main_color0.jpg");
    if (!normal.isNull() && normal.size() == over.size() && normal.size() == checked.size())
        for (const auto& [key, r] : keys) {
            const QRect face = r.translated(-1, -1) & normal.rect();
            if (face.isEmpty())
                continue;
            if (!background.isNull() && face.size() == r.size() &&
                FaceDifference(background, r, normal, face) > 2.0)
                problem("main_normal.jpg: the face of " + key +
                        " cut at (x - 1, y - 1) does not match the background");
            if (MeanDifference(normal, over, face) < 4)
                problem("main_over.jpg: the hover face of " + key + " looks like its normal face");
            if (MeanDifference(normal, checked, face) < 4)
                problem("main_color0.jpg: the checked face of " + key +
                        " looks like its normal face");
        }
    for (const char* side : {"LEFT", "RIGHT"})
        for (const char* dirn : {"UP", "DOWN"})
            for (int n = 1; n <= 2; ++n) {
                QRect r;
                const QString key = QStringLiteral("%1_ARROW_%2%3").arg(dirn, side).arg(n);
                if (!ReadRect(main, "BUTTONINFO2", key, r))
                    problem("Main.ini: BUTTONINFO2 " + key + " missing");
                else if (!picture("Arrow.jpg").rect().contains(r.translated(-1, -1)))
                    problem("Arrow.jpg: no room for " + key);
            }
    for (const char* section : {"Mode", "Mode1"})
        for (int id = 1; id <= 20; ++id)
            if (main.GetString(U(section), QString::number(id).toStdU16String()).empty())
                problem(QStringLiteral("Main.ini: [%1] has no name for effect %2")
                            .arg(section)
                            .arg(id));
    for (const char* section : {"Control_Name", "Control_Name1"})
        for (const char* key :
             {"Deng", "Light", "Speed", "FX", "Color", "DC", "JColor", "Tool", "Usb"})
            if (main.GetString(U(section), U(key)).empty())
                problem(QStringLiteral("Main.ini: [%1] has no %2").arg(section, key));
    if (main.GetString(u"SCREEN", u"Link").empty())
        problem("Main.ini: SCREEN Link missing");

    // The lighting panel's bitmaps, each as large as the control that shows it.
    auto sized = [&](const QString& file, const char* key) {
        QRect r;
        const QImage& image = picture(file);
        if (ReadRect(main, "BUTTONINFO", key, r) && !image.isNull() && image.size() != r.size())
            problem(QStringLiteral("%1 is not as large as %2").arg(file, key));
    };
    const char* owners[] = {
        "CONTROL_DengStaPic",  "CONTROL_BLFXLStaPic",   "CONTROL_BLFXRStaPic",
        "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic",   "CONTROL_HXsjsStaPic",
        "CONTROL_HONGPIC",     "CONTROL_HUANGPIC",      "CONTROL_LVPIC",
        "CONTROL_LANPIC",      "CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2"};
    for (int i = 0; i < kPanelBitmaps.size(); ++i)
        sized(kPanelBitmaps[i] + ".bmp", owners[i / 2]);
    for (int n = 0; n <= 11; ++n)
        sized(QStringLiteral("%1.bmp").arg(n),
              n < 6 ? "CONTROL_LightSlider" : "CONTROL_SpeedSlider");
    for (int i = 1; i <= 10; ++i)
        sized(QStringLiteral("jdt%1.bmp").arg(i), "CONTROL_JDTStatic");

    // Every picture has its drawing at twice the resolution beside it, exactly twice as large; the
    // masks, shapes in logical pixels, have none.
    QStringList pictures = {QStringLiteral("combo_arrow.png")};
    for (const auto& [name, image] : loaded)
        if (!image.isNull() && !masks.contains(name))
            pictures << name;
    for (const QString& name : pictures) {
        const QString doubled = korvel::ScaledPictureName(name, korvel::kDoubleScale);
        const QImage one(dir.filePath(name)), two(dir.filePath(doubled));
        if (two.isNull())
            problem(doubled + ": missing or not decodable");
        else if (two.size() != one.size() * korvel::kDoubleScale)
            problem(QStringLiteral("%1 is %2x%3, not twice %4")
                        .arg(doubled)
                        .arg(two.width())
                        .arg(two.height())
                        .arg(name));
    }
    return problem.count;
}

}  // namespace skingen
