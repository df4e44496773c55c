#include "skin_layout.h"

#include <QStringList>
#include <cmath>

#include "model/keys/key_codec.h"
#include "model/keys/key_codes.h"

namespace skingen {

const Control* Dialog::find(const std::string& key) const {
    for (const Control& c : controls)
        if (c.key == key)
            return &c;
    return nullptr;
}

namespace {

Control Placed(std::string key, QRect r, Look look = Look::None) {
    Control c;
    c.key = std::move(key);
    c.rect = r;
    c.look = look;
    return c;
}

Control WithGlyph(std::string key, QRect r, Look look, Glyph g) {
    Control c = Placed(std::move(key), r, look);
    c.glyph = g;
    return c;
}

Control Hidden(std::string key, QSize size) {
    Control c = Placed(std::move(key), QRect(QPoint(1, 1), size));
    c.hidden = true;
    return c;
}

// A segmented control: pieces of equal width side by side, no gap between them.
void AddSegments(std::vector<Control>& out, const std::vector<std::string>& keys, QPoint at,
                 QSize piece, const QStringList& labels = {}) {
    const QRect group(at, QSize(piece.width() * int(keys.size()), piece.height()));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        Control c =
            Placed(keys[i], QRect(at + QPoint(int(i) * piece.width(), 0), piece), Look::Segment);
        c.group = group;
        if (i < std::size_t(labels.size()))
            c.text = labels[int(i)];
        out.push_back(c);
    }
}

std::vector<std::pair<std::string, std::string>> Entries(
    std::initializer_list<std::pair<const char*, const char*>> list) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& [k, v] : list)
        out.emplace_back(k, v);
    return out;
}

// ---------------------------------------------------------------------------------------------
// Main window

constexpr int kMainWidth = 1200;
constexpr int kMainHeight = 604;
constexpr int kPitch = 46;  // one key unit
constexpr int kGap = 4;     // between key caps
constexpr int kTitleHeight = 44;
constexpr int kFunctionRowY = 62;
constexpr int kFirstRowY = 118;  // number row; the rows below follow at kPitch
constexpr int kGColumnWidth = 54;
constexpr int kKeyboardUnits = 23;  // main block 15, gap .5, navigation 3, gap .5, number pad 4
constexpr int kKeyboardWidth = kKeyboardUnits * kPitch - kGap;
constexpr int kKeyboardLeft = (kMainWidth - (kGColumnWidth + 18 + kKeyboardWidth)) / 2;  // G column
constexpr int kMainBlockX = kKeyboardLeft + kGColumnWidth + 18;

struct KeyPlace {
    korvel::ScanCode scan;
    double unit;   // left edge, in key units from the main block's left edge
    double width;  // in key units
    int row;       // 0 function row, 1..5 number row .. space row
    int rows = 1;  // the number pad's tall keys span two rows
};

int RowY(int row) {
    return row == 0 ? kFunctionRowY : kFirstRowY + (row - 1) * kPitch;
}

QRect KeyRect(double unit, double width, int row, int rows = 1) {
    const int x = kMainBlockX + int(std::lround(unit * kPitch));
    const int w = int(std::lround(width * kPitch)) - kGap;
    return QRect(x, RowY(row), w, rows * kPitch - kGap);
}

// A full-size ANSI layout; the ScanCodes are the key grid's, row by row.
std::vector<KeyPlace> KeyboardRows() {
    std::vector<KeyPlace> keys;
    auto run = [&](int row, double unit, std::initializer_list<korvel::ScanCode> scans,
                   double width = 1) {
        for (korvel::ScanCode sc : scans) {
            keys.push_back({sc, unit, width, row});
            unit += width;
        }
    };
    // Function row: Esc, three groups of four, then Print Screen, Scroll Lock, Pause.
    run(0, 0, {0x001});
    run(0, 2, {0x03B, 0x03C, 0x03D, 0x03E});
    run(0, 6.5, {0x03F, 0x040, 0x041, 0x042});
    run(0, 11, {0x043, 0x044, 0x057, 0x058});
    run(0, 15.5, {0x137, 0x046, 0x045});
    // Number row.
    run(1, 0,
        {0x029, 0x002, 0x003, 0x004, 0x005, 0x006, 0x007, 0x008, 0x009, 0x00A, 0x00B, 0x00C,
         0x00D});
    run(1, 13, {0x00E}, 2);
    run(1, 15.5, {0x152, 0x147, 0x149});
    run(1, 19, {0x145, 0x135, 0x037, 0x04A});
    // Top letter row.
    run(2, 0, {0x00F}, 1.5);
    run(2, 1.5,
        {0x010, 0x011, 0x012, 0x013, 0x014, 0x015, 0x016, 0x017, 0x018, 0x019, 0x01A, 0x01B});
    run(2, 13.5, {0x02B}, 1.5);
    run(2, 15.5, {0x153, 0x14F, 0x151});
    run(2, 19, {0x047, 0x048, 0x049});
    keys.push_back({0x04E, 22, 1, 2, 2});
    // Home row.
    run(3, 0, {0x03A}, 1.75);
    run(3, 1.75, {0x01E, 0x01F, 0x020, 0x021, 0x022, 0x023, 0x024, 0x025, 0x026, 0x027, 0x028});
    run(3, 12.75, {0x01C}, 2.25);
    run(3, 19, {0x04B, 0x04C, 0x04D});
    // Bottom letter row.
    run(4, 0, {0x02A}, 2.25);
    run(4, 2.25, {0x02C, 0x02D, 0x02E, 0x02F, 0x030, 0x031, 0x032, 0x033, 0x034, 0x035});
    run(4, 12.25, {0x036}, 2.75);
    run(4, 16.5, {0x148});
    run(4, 19, {0x04F, 0x050, 0x051});
    keys.push_back({0x11C, 22, 1, 4, 2});
    // Space row; Fn (placed separately) sits between Right Alt and App.
    run(5, 0, {0x01D, 0x15B, 0x038}, 1.25);
    run(5, 3.75, {0x039}, 6.25);
    run(5, 10, {0x138});
    run(5, 12, {0x15D, 0x15C, 0x11D});
    run(5, 15.5, {0x14B, 0x150, 0x14D});
    run(5, 19, {0x052}, 2);
    run(5, 21, {0x053});
    return keys;
}

// What a cap shows: the key's name, shortened the way key caps are printed.
QString CapLegend(const korvel::KeyCodec& codec, korvel::ScanCode sc) {
    QString name = QString::fromStdU16String(codec.KeyNameOf(sc));
    if (name.startsWith(QLatin1String("Right ")))
        name = name.mid(6);
    if (name.startsWith(QLatin1String("Num ")) && name != QLatin1String("Num Lock"))
        name = name.mid(4);
    if (name == QLatin1String("Page Up"))
        return QStringLiteral("Page\nUp");
    if (name == QLatin1String("Page Down"))
        return QStringLiteral("Page\nDown");
    if (name == QLatin1String("Print Screen"))
        return QStringLiteral("Print\nScreen");
    if (name == QLatin1String("Scroll Lock"))
        return QStringLiteral("Scroll\nLock");
    if (name == QLatin1String("Num Lock"))
        return QStringLiteral("Num\nLock");
    if (name == QLatin1String("Space"))
        return QString();
    return name;
}

Dialog BuildMain() {
    Dialog d;
    d.iniFile = QStringLiteral("Main.ini");
    d.size = QSize(kMainWidth, kMainHeight);
    d.background = QStringLiteral("main_bg.jpg");
    d.mask = QStringLiteral("main_mask.bmp");
    d.screenExtra = {{"Link", "Help/index.html"}};
    auto& c = d.controls;

    // Title strip.
    d.decor.push_back({DecorKind::TitleStrip, QRect(0, 0, kMainWidth, kTitleHeight)});
    d.decor.push_back({DecorKind::Wordmark, QRect(25, 0, 120, kTitleHeight)});
    c.push_back(Placed("VELMARO_VER", QRect(150, 14, 140, 18)));
    const int iconY = 8;
    const QSize icon(32, 28);
    int x = kMainWidth - 12 - icon.width();
    for (auto [key, glyph] : {std::pair{"CONTROL_CLOSE", Glyph::Close},
                              {"CONTROL_MINIMIZE", Glyph::Minimize},
                              {"CONTROL_MENU", Glyph::Menu},
                              {"CONTROL_HELP", Glyph::Help},
                              {"VELMARO_LINK", Glyph::Link}}) {
        c.push_back(WithGlyph(key, QRect(QPoint(x, iconY), icon), Look::Icon, glyph));
        x -= icon.width() + 4;
    }

    // Keyboard.
    const QRect plate(kKeyboardLeft - 12, kFunctionRowY - 10,
                      kGColumnWidth + 18 + kKeyboardWidth + 24,
                      RowY(5) + kPitch - kGap + 20 - kFunctionRowY);
    d.decor.push_back({DecorKind::Plate, plate});

    const korvel::KeyCodec codec;
    for (const KeyPlace& k : KeyboardRows()) {
        Control key = Placed(korvel::KeySkinName(korvel::SlotOfScan(k.scan)),
                             KeyRect(k.unit, k.width, k.row, k.rows), Look::Key);
        key.text = CapLegend(codec, k.scan);
        // F1..F4 give way to D1..D6 in the flip layer.
        if (k.scan >= 0x03B && k.scan <= 0x03E)
            key.variants = 1 << kMainPlain;
        c.push_back(key);
    }
    Control fn = Placed("KEY_FN", KeyRect(11, 1, 5), Look::Key);
    fn.text = QStringLiteral("Fn");
    c.push_back(fn);

    // G keys in a column over the bank backdrop (LOCK_AB), whose badge sits above G1.
    const QRect bank(kKeyboardLeft - 4, kFunctionRowY - 4, kGColumnWidth + 8,
                     RowY(5) + kPitch - kGap + 8 - kFunctionRowY);
    c.push_back(Placed("LOCK_AB", bank, Look::BankPanel));
    const int gTop = kFunctionRowY + 22;
    const int gPitch = (RowY(5) + kPitch - kGap - gTop + kGap) / korvel::kGKeys;
    for (int n = 1; n <= korvel::kGKeys; ++n) {
        Control g = Placed(
            korvel::GKeySkinName(n),
            QRect(kKeyboardLeft, gTop + (n - 1) * gPitch, kGColumnWidth, gPitch - kGap), Look::Key);
        g.text = QString::fromStdU16String(korvel::GKeyLabel(n));
        c.push_back(g);
    }

    // Lock indicators above the number pad.
    const QRect pad = KeyRect(19, 4, 0);
    const int lockW = (pad.width() - 2 * 6) / 3;
    int lx = pad.x();
    for (auto [key, glyph] : {std::pair{"LOCK_NUM", Glyph::Num},
                              {"LOCK_CAPS", Glyph::Caps},
                              {"LOCK_SCROLL", Glyph::Scroll}}) {
        c.push_back(
            WithGlyph(key, QRect(lx, pad.y() + 6, lockW, pad.height() - 12), Look::Lock, glyph));
        lx += lockW + 6;
    }

    // Flip mode: the backdrop of F1..F4, a toggle at each side with its arrow above it, and the
    // D1..D6 caps that take the place of F1..F4 in the flip layer.
    const QRect f1 = KeyRect(2, 1, 0), f4 = KeyRect(5, 1, 0), f5 = KeyRect(6.5, 1, 0),
                esc = KeyRect(0, 1, 0);
    const QRect fGroup(f1.topLeft(), f4.bottomRight());
    c.push_back(Placed("FLIP_0", fGroup.adjusted(-3, -3, 3, 3), Look::FlipPanel));
    const int toggleW = 18;
    const int leftGapX = esc.right() + 1 + (f1.x() - 3 - esc.right() - 1 - toggleW) / 2;
    const int rightGapX = f4.right() + 4 + (f5.x() - f4.right() - 4 - toggleW) / 2;
    c.push_back(WithGlyph("FLIP_1", QRect(leftGapX, f1.y() + 16, toggleW, f1.height() - 16),
                          Look::FlipToggle, Glyph::Flip));
    c.push_back(WithGlyph("FLIP_2", QRect(rightGapX, f1.y() + 16, toggleW, f1.height() - 16),
                          Look::FlipToggle, Glyph::Flip));
    c.push_back(Placed("LEFT_ARROW", QRect(leftGapX, f1.y(), toggleW, 12)));
    c.push_back(Placed("RIGHT_ARROW", QRect(rightGapX, f1.y(), toggleW, 12)));
    const int dW = (fGroup.width() - 5 * kGap) / 6;
    for (int i = 0; i < 6; ++i) {
        const int dx = fGroup.x() + int(std::lround(i * (fGroup.width() - dW) / 5.0));
        Control dk = Placed("FLIP_D" + std::to_string(i + 1),
                            QRect(dx, fGroup.y(), dW, fGroup.height()), Look::Key);
        dk.text = QStringLiteral("D%1").arg(i + 1);
        dk.variants = 1 << kMainFlipLayer;
        c.push_back(dk);
    }

    // Lighting panel: one card, groups in columns; groups that never show together share a column.
    const QRect card(plate.x(), plate.bottom() + 15, plate.width(), 144);
    d.decor.push_back({DecorKind::Card, card});
    const int labelY = card.y() + 16, rowY = labelY + 26, label2Y = rowY + 38, row2Y = label2Y + 26;
    const int colPower = card.x() + 16, colLevels = colPower + 220 + 56,
              colDirection = colLevels + 300 + 56, colColour = colDirection + 170 + 56;
    c.push_back(Placed("CONTROL_DengStatic", QRect(colPower, labelY, 140, 22)));
    c.push_back(Placed("CONTROL_DengStaPic", QRect(colPower + 164, labelY - 3, 56, 28)));
    c.push_back(Placed("CONTROL_XGcombox", QRect(colPower, rowY, 220, 30)));
    c.push_back(Placed("CONTROL_LightStatic", QRect(colLevels, labelY, 300, 22)));
    c.push_back(Placed("CONTROL_LightSlider", QRect(colLevels, rowY, 300, 30)));
    c.push_back(Placed("CONTROL_SpeedStatic", QRect(colLevels, label2Y, 300, 22)));
    c.push_back(Placed("CONTROL_SpeedSlider", QRect(colLevels, row2Y, 300, 30)));
    for (const char* suffix : {"", "2", "3"}) {
        c.push_back(Placed(std::string("CONTROL_BLFXStatic") + suffix,
                           QRect(colDirection, labelY, 170, 22)));
        c.push_back(
            Placed(std::string("CONTROL_BLFXLStaPic") + suffix, QRect(colDirection, rowY, 82, 30)));
        c.push_back(Placed(std::string("CONTROL_BLFXRStaPic") + suffix,
                           QRect(colDirection + 88, rowY, 82, 30)));
    }
    // The colour group and the reactive colour group show for different effects: same place.
    for (auto [label, picker, dcLabel, dcPic] :
         {std::tuple{"CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStatic",
                     "CONTROL_HXsjsStaPic"},
          {"CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStatic",
           "CONTROL_FYSJSStaPic"}}) {
        c.push_back(Placed(label, QRect(colColour, labelY, 110, 22)));
        c.push_back(Placed(picker, QRect(colColour, rowY, 110, 30)));
        c.push_back(Placed(dcLabel, QRect(colColour + 126, labelY, 110, 22)));
        c.push_back(Placed(dcPic, QRect(colColour + 126, rowY, 64, 30)));
    }
    int chipX = colColour;
    for (const char* key :
         {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"}) {
        c.push_back(Placed(key, QRect(chipX, rowY, 52, 30)));
        chipX += 60;
    }
    // Custom per-key colours (effect 20) use the direction and colour columns, which it never
    // shows.
    c.push_back(Placed("CONTROL_USERysStatic", QRect(colDirection, labelY, 110, 22)));
    c.push_back(Placed("CONTROL_USERysButton", QRect(colDirection, rowY, 110, 30)));
    c.push_back(Placed("CONTROL_USERjsStatic", QRect(colDirection + 122, labelY, 110, 22)));
    c.push_back(Placed("CONTROL_USERjsButton", QRect(colDirection + 122, rowY, 110, 30)));
    c.push_back(Placed("CONTROL_USERgjStatic", QRect(colDirection + 244, labelY, 112, 22)));
    c.push_back(Placed("CONTROL_USERgjStaPic1", QRect(colDirection + 244, rowY, 52, 30)));
    c.push_back(Placed("CONTROL_USERgjStaPic2", QRect(colDirection + 304, rowY, 52, 30)));
    c.push_back(Placed("CONTROL_umCombo", QRect(colDirection + 372, rowY,
                                                card.right() - 15 - colDirection - 372, 30)));
    // Controls of effects the panel never offers: kept out of sight.
    for (const char* key :
         {"CONTROL_FYCFStatic", "CONTROL_FYdjcfStatic", "CONTROL_FYggcfStatc", "CONTROL_JTysStatic",
          "CONTROL_TSysStatic", "CONTROL_TSsjsStatic", "CONTROL_CDysStatic", "CONTROL_CDsjsStatic"})
        c.push_back(Hidden(key, QSize(110, 22)));
    for (const char* key :
         {"CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic", "CONTROL_JTysButton",
          "CONTROL_TSysButton", "CONTROL_TSsjsStaPic", "CONTROL_CDysButton", "CONTROL_CDsjsStaPic"})
        c.push_back(Hidden(key, QSize(64, 30)));

    // Profile bar.
    const int barY = card.bottom() + 28, barH = 36;
    const int left = card.x();
    AddSegments(c, {"FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3"}, QPoint(left, barY),
                QSize(84, barH));
    c.push_back(Placed("FUNC_DEFAULT", QRect(left + 3 * 84 + 12, barY, 118, barH), Look::Button));
    const int rateX = left + 3 * 84 + 12 + 118 + 24;
    c.push_back(Placed("CONTROL_UsbStatic", QRect(rateX, barY - 22, 240, 18)));
    AddSegments(c, {"FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3", "FUNC_REPORT4"},
                QPoint(rateX, barY), QSize(60, barH),
                {QStringLiteral("125 Hz"), QStringLiteral("250 Hz"), QStringLiteral("500 Hz"),
                 QStringLiteral("1000 Hz")});
    const int right = card.right() + 1;
    const int okW = 78;
    c.push_back(Placed("CONTROL_CANCEL", QRect(right - okW, barY, okW, barH), Look::Button));
    c.push_back(Placed("CONTROL_OK", QRect(right - 2 * okW - 8, barY, okW, barH), Look::Primary));
    c.push_back(
        Placed("CONTROL2_APPLY", QRect(right - 3 * okW - 16, barY, okW, barH), Look::Button));
    const int jdtX = right - 3 * okW - 16 - 8 - 28;
    c.push_back(Placed("CONTROL_JDTStatic", QRect(jdtX, barY + 4, 28, 28)));
    c.push_back(Placed("FUNC_MACRO", QRect(jdtX - 8 - 80, barY, 80, barH), Look::Button));
    Control scene = WithGlyph(
        "FUNC_PROFILES", QRect(rateX + 240 + 24, barY, jdtX - 16 - 80 - rateX - 240 - 24, barH),
        Look::Button, Glyph::Chevron);
    c.push_back(scene);
    c.push_back(Hidden("FUNC_SWITCH", QSize(60, 24)));

    // The faces: normal, hover, pressed, disabled, checked; then the flip layer, where D1..D6 stand
    // in place of F1..F4: its normal look, and hover, pressed and disabled faces for the D keys.
    d.pictures = {{"main_normal.jpg", State::Normal},
                  {"main_over.jpg", State::Over},
                  {"main_down.jpg", State::Down},
                  {"main_disable.jpg", State::Disabled},
                  {"main_color0.jpg", State::Checked},
                  {"main_color1.jpg", State::Normal, kMainFlipLayer},
                  {"main_flip_over.jpg", State::Over, kMainFlipLayer},
                  {"main_flip_down.jpg", State::Down, kMainFlipLayer},
                  {"main_flip_disable.jpg", State::Disabled, kMainFlipLayer}};

    // Where each arrow face lies in Arrow.jpg.
    IniSection arrows{"BUTTONINFO2", {}};
    for (const ArrowFace& a : ArrowFaces(QSize(toggleW, 12)))
        arrows.second.emplace_back(a.key, QStringLiteral("%1,%2,%3,%4")
                                              .arg(a.rect.x())
                                              .arg(a.rect.y())
                                              .arg(a.rect.width())
                                              .arg(a.rect.height())
                                              .toStdString());
    d.sections.push_back(arrows);

    // Effect names by id (Chinese, then English) and the panel's labels.
    static const char* const kEffects[20][2] = {
        {"波浪", "Wave"},         {"流光", "Stream"},      {"跑马灯", "Marquee"},
        {"彩虹渐变", "Spectrum"}, {"呼吸", "Breathing"},   {"触发", "Reactive"},
        {"星光", "Starlight"},    {"雨滴", "Raindrop"},    {"闪烁", "Twinkle"},
        {"极光", "Aurora"},       {"霓虹", "Neon"},        {"彩虹波浪", "Rainbow Wave"},
        {"脉冲", "Pulse"},        {"扫描", "Scan"},        {"螺旋", "Spiral"},
        {"涟漪触发", "Ripple"},   {"四色", "Four Colors"}, {"扩散汇聚", "Spread & Converge"},
        {"音乐律动", "Music"},    {"自定义", "Custom"}};
    IniSection mode{"Mode", {}}, mode1{"Mode1", {}};
    for (int id = 1; id <= 20; ++id) {
        mode.second.emplace_back(std::to_string(id), kEffects[id - 1][0]);
        mode1.second.emplace_back(std::to_string(id), kEffects[id - 1][1]);
    }
    d.sections.push_back(mode);
    d.sections.push_back(mode1);
    d.sections.push_back({"Control_Name", Entries({{"Deng", "灯光"},
                                                   {"Light", "亮度"},
                                                   {"Speed", "速度"},
                                                   {"FX", "方向"},
                                                   {"Color", "颜色"},
                                                   {"DC", "多彩"},
                                                   {"JColor", "基色"},
                                                   {"Tool", "工具"},
                                                   {"Usb", "回报率"}})});
    d.sections.push_back({"Control_Name1", Entries({{"Deng", "Lighting"},
                                                    {"Light", "Brightness"},
                                                    {"Speed", "Speed"},
                                                    {"FX", "Direction"},
                                                    {"Color", "Color"},
                                                    {"DC", "Multicolor"},
                                                    {"JColor", "Base color"},
                                                    {"Tool", "Tool"},
                                                    {"Usb", "Report rate"}})});
    return d;
}

// ---------------------------------------------------------------------------------------------
// Composite editor and macro editor. Both are 600 x 440 and share the macro pictures: the macro
// page of the composite editor lies exactly where the macro editor's controls lie.

constexpr QSize kEditorSize(600, 440);
constexpr QRect kEditorPage(16, 96, 568, 288);
constexpr int kEditorBarY = 396;

void AddEditorFrame(Dialog& d, Glyph titleGlyph) {
    d.size = kEditorSize;
    d.decor.push_back({DecorKind::TitleStrip, QRect(0, 0, kEditorSize.width(), kTitleHeight)});
    d.decor.push_back({DecorKind::Watermark, QRect(16, 8, 28, 28), titleGlyph});
    d.decor.push_back(
        {DecorKind::Divider, QRect(16, kEditorBarY - 6, kEditorSize.width() - 32, 1)});
    const int w = 88;
    d.controls.push_back(Placed(
        "CONTROL_CANCEL", QRect(kEditorSize.width() - 16 - w, kEditorBarY, w, 32), Look::Button));
    d.controls.push_back(Placed("CONTROL_OK",
                                QRect(kEditorSize.width() - 16 - 2 * w - 8, kEditorBarY, w, 32),
                                Look::Primary));
    d.controls.push_back(Placed("CONTROL2_APPLY",
                                QRect(kEditorSize.width() - 16 - 3 * w - 16, kEditorBarY, w, 32),
                                Look::Button));
}

// The macro work area; `prefix` is "FUNC_" (macro editor) or "FUNC_MACRO_" (composite editor).
void AddMacroWork(Dialog& d, const std::string& prefix) {
    auto& c = d.controls;
    const int x0 = kEditorPage.x() + 16, rowA = kEditorPage.y() + 40, listsY = rowA + 36;
    const int listsRight = 448, colX = 460, colW = 108;
    c.push_back(WithGlyph(prefix + "ADD", QRect(x0, rowA, 32, 28), Look::ToolButton, Glyph::Plus));
    c.push_back(
        WithGlyph(prefix + "DELETE", QRect(x0 + 36, rowA, 32, 28), Look::ToolButton, Glyph::Minus));
    c.push_back(WithGlyph(prefix + "RECORD", QRect(colX, listsY, colW, 30), Look::ToolButton,
                          Glyph::Record));
    int y = listsY + 38;
    for (auto [key, glyph] : {std::pair{"UP_TOP", Glyph::Top},
                              {"UP", Glyph::Up},
                              {"DOWN", Glyph::Down},
                              {"DOWN_BOTTOM", Glyph::Bottom}}) {
        c.push_back(WithGlyph(prefix + key, QRect(colX, y, colW, 24), Look::ToolButton, glyph));
        y += 28;
    }
    y += 4;
    c.push_back(
        WithGlyph(prefix + "DELETE2", QRect(colX, y, colW, 24), Look::ToolButton, Glyph::Trash));
    c.push_back(WithGlyph(prefix + "CLEAR", QRect(colX, y + 28, colW, 24), Look::ToolButton,
                          Glyph::Eraser));
    const int listsH = y + 28 + 24 - listsY;
    if (prefix == "FUNC_") {
        c.push_back(Placed("PROGRAM_LIST", QRect(x0, listsY, 150, listsH)));
        c.push_back(
            Placed("PROGRAM_LIST2", QRect(x0 + 158, listsY, listsRight - x0 - 158, listsH)));
        c.push_back(Placed("FUNC_RECORD_DELAY", QRect(24, kEditorBarY + 4, 240, 24)));
    } else {
        c.push_back(Placed("MARCO_NAME_SETTING", QRect(x0 + 80, rowA, 80, 28)));
        c.push_back(Placed("FUNC_MACRO_LIST", QRect(x0 + 164, rowA, listsRight - x0 - 164, 28)));
        c.push_back(Placed("FUNC_MACRO_CYCLES_PROMPT", QRect(colX, rowA, 60, 28)));
        c.push_back(Placed("FUNC_MACRO_CYCLES", QRect(colX + 64, rowA, colW - 64, 28)));
        c.push_back(Placed("FUNC_MACRO_LIST2", QRect(x0, listsY, listsRight - x0, listsH)));
        c.push_back(Placed("FUNC_MACRO_RECORD_DELAY", QRect(24, kEditorBarY + 4, 20, 24)));
        c.push_back(Placed("FUNC_MACRO_RECORD_DELAY2", QRect(46, kEditorBarY + 4, 220, 24)));
    }
}

Dialog BuildComposite() {
    Dialog d;
    d.iniFile = QStringLiteral("Composite.ini");
    d.background = QStringLiteral("composite_bg.jpg");
    d.mask = QStringLiteral("composite_mask.bmp");
    AddEditorFrame(d, Glyph::None);
    auto& c = d.controls;
    Control title = Placed("CONTROL_TITLE", QRect(12, 6, 220, 32), Look::Title);
    c.push_back(title);
    AddSegments(c, {"CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA", "CONTROL_FUNCTION"},
                QPoint(16, 54), QSize(112, 32));
    c.push_back(WithGlyph("CONTROL_CLEAR", QRect(508, 54, 36, 32), Look::Icon, Glyph::Eraser));
    c.push_back(WithGlyph("CONTROL_OSK", QRect(548, 54, 36, 32), Look::Icon, Glyph::Keyboard));
    c.push_back(Placed("CONTROL_MASK", kEditorPage, Look::Page));
    const int x0 = kEditorPage.x() + 16, w = kEditorPage.width() - 32;
    c.push_back(Placed("KEY_SETTING", QRect(x0, kEditorPage.y() + 10, w, 22)));
    for (auto [label, field, h] : {std::tuple{"TISHI_SINGLE_STATIC", "FUNC_KEY_INPUT", 36},
                                   {"MEDIA_SETTING_TISHI", "FUNC_MEDIA_SELECT", 30},
                                   {"FUNCTION_KEY_SETTING_TISHI", "FUNC_FUNCTION_SELECT", 30}}) {
        c.push_back(Placed(label, QRect(x0, kEditorPage.y() + 44, w, 22)));
        c.push_back(Placed(field, QRect(x0, kEditorPage.y() + 72, 320, h)));
    }
    AddMacroWork(d, "FUNC_MACRO_");
    // The macro page's buttons take their faces from the macro editor's pictures.
    for (Control& m : c)
        if (m.key.starts_with("FUNC_MACRO_") && m.look != Look::None)
            m.variants = 1 << kPageMacro;
    d.pictures = {{"key_normal.jpg", State::Normal, kPageKey},
                  {"key_over.jpg", State::Over, kPageKey},
                  {"key_down.jpg", State::Down, kPageKey},
                  {"media_normal.jpg", State::Normal, kPageMedia},
                  {"media_over.jpg", State::Over, kPageMedia},
                  {"media_down.jpg", State::Down, kPageMedia},
                  {"function_normal.jpg", State::Normal, kPageFunction},
                  {"function_over.jpg", State::Over, kPageFunction},
                  {"function_down.jpg", State::Down, kPageFunction},
                  {"macro2_normal.jpg", State::Normal, kPageMacroOnly},
                  {"macro2_over.jpg", State::Over, kPageMacroOnly},
                  {"macro2_down.jpg", State::Down, kPageMacroOnly},
                  {"macro2_disable.jpg", State::Disabled, kPageMacroOnly}};
    return d;
}

Dialog BuildMacro() {
    Dialog d;
    d.iniFile = QStringLiteral("Macro.ini");
    d.background = QStringLiteral("macro_bg.jpg");
    d.mask = QStringLiteral("macro_mask.bmp");
    AddEditorFrame(d, Glyph::Macro);
    d.decor.push_back({DecorKind::Card, kEditorPage});
    AddMacroWork(d, "FUNC_");
    // The title beside the frame's mark, a line on what the editor is for, the card's heading and
    // the selected macro's cycles, where the key editor has its tabs, heading and fields.
    auto& c = d.controls;
    const int x0 = kEditorPage.x() + 16, w = kEditorPage.width() - 32;
    c.push_back(Placed("CONTROL_TITLE", QRect(52, 6, 300, 32)));
    c.push_back(Placed("MACRO_HINT", QRect(16, 54, kEditorPage.width(), 32)));
    c.push_back(Placed("KEY_SETTING", QRect(x0, kEditorPage.y() + 10, w, 22)));
    c.push_back(Placed("FUNC_CYCLES_PROMPT", QRect(460, kEditorPage.y() + 40, 60, 28)));
    c.push_back(Placed("FUNC_CYCLES", QRect(524, kEditorPage.y() + 40, 44, 28)));
    d.pictures = {{"macro_normal.jpg", State::Normal},
                  {"macro_over.jpg", State::Over},
                  {"macro_down.jpg", State::Down},
                  {"macro_disable.jpg", State::Disabled},
                  {"macro_other.jpg", State::Checked}};
    return d;
}

Dialog BuildProfile() {
    Dialog d;
    d.iniFile = QStringLiteral("Profile.ini");
    d.size = QSize(520, 360);
    d.background = QStringLiteral("profile_bg.jpg");
    d.mask = QStringLiteral("profile_mask.bmp");
    d.decor.push_back({DecorKind::TitleStrip, QRect(0, 0, 520, kTitleHeight)});
    d.decor.push_back({DecorKind::Watermark, QRect(16, 8, 28, 28), Glyph::Profiles});
    d.decor.push_back({DecorKind::Divider, QRect(16, 302, 488, 1)});
    auto& c = d.controls;
    // The dialog's title, drawn by the program in the chosen language beside the mark.
    c.push_back(Placed("CONTROL_TITLE", QRect(54, 8, 300, 28)));
    c.push_back(Placed("PROGRAM_LIST", QRect(16, 58, 488, 232), Look::Well));
    c.push_back(WithGlyph("FUNC_ADD", QRect(16, 314, 36, 32), Look::ToolButton, Glyph::Plus));
    c.push_back(WithGlyph("FUNC_LOAD", QRect(58, 314, 36, 32), Look::ToolButton, Glyph::Folder));
    c.push_back(WithGlyph("FUNC_DELETE", QRect(100, 314, 36, 32), Look::ToolButton, Glyph::Trash));
    c.push_back(Placed("CONTROL2_APPLY", QRect(236, 314, 84, 32), Look::Button));
    c.push_back(Placed("CONTROL_OK", QRect(328, 314, 84, 32), Look::Primary));
    c.push_back(Placed("CONTROL_CANCEL", QRect(420, 314, 84, 32), Look::Button));
    d.pictures = {{"Profile_normal.jpg", State::Normal},
                  {"Profile_over.jpg", State::Over},
                  {"Profile_down.jpg", State::Down}};
    return d;
}

Dialog BuildUpdate() {
    Dialog d;
    d.iniFile = QStringLiteral("UpdateDlg.ini");
    d.size = QSize(480, 200);
    d.background = QStringLiteral("update_bg.jpg");
    d.mask = QStringLiteral("update_mask.bmp");
    d.decor.push_back({DecorKind::TitleStrip, QRect(0, 0, 480, kTitleHeight)});
    d.decor.push_back({DecorKind::Watermark, QRect(16, 8, 28, 28), Glyph::Upload});
    d.decor.push_back({DecorKind::Divider, QRect(16, 132, 448, 1)});
    auto& c = d.controls;
    c.push_back(Placed("CONTROL_UPStatic", QRect(16, 70, 340, 32), Look::Well));
    c.push_back(
        WithGlyph("CONTROL_OPENButton", QRect(364, 70, 100, 32), Look::ToolButton, Glyph::Folder));
    c.push_back(Hidden("CONTROL_UPCombox", QSize(120, 24)));
    c.push_back(
        WithGlyph("CONTROL_BACKUPButton", QRect(16, 148, 190, 34), Look::ToolButton, Glyph::Save));
    c.push_back(
        WithGlyph("CONTROL_CUPButton", QRect(214, 148, 124, 34), Look::ToolButton, Glyph::Cancel));
    c.push_back(
        WithGlyph("CONTROL_UPButton", QRect(346, 148, 118, 34), Look::ToolButton, Glyph::Upload));
    // The update dialog has a normal picture and one picture for every other state.
    d.pictures = {{"update_normal.jpg", State::Normal}, {"update_over.jpg", State::Over}};
    return d;
}

}  // namespace

std::vector<Dialog> BuildSkin() {
    return {BuildMain(), BuildComposite(), BuildMacro(), BuildProfile(), BuildUpdate()};
}

QSize ArrowPictureSize() {
    return QSize(100, 40);
}

std::vector<ArrowFace> ArrowFaces(QSize face) {
    std::vector<ArrowFace> out;
    int col = 0;
    for (const char* side : {"LEFT", "RIGHT"})
        for (bool up : {true, false}) {
            for (int n = 1; n <= 2; ++n) {
                // The face is cut at (x - 1, y - 1): the value is one past the cell's corner.
                const QPoint cell(2 + col * (face.width() + 6), 4 + (n - 1) * (face.height() + 6));
                out.push_back(
                    {std::string(up ? "UP_ARROW_" : "DOWN_ARROW_") + side + std::to_string(n),
                     QRect(cell + QPoint(1, 1), face), up, n == 2});
            }
            ++col;
        }
    return out;
}

}  // namespace skingen
