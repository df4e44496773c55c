#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <string>
#include <utility>
#include <vector>
#include "gui/skin/skin_palette.h"

// The one table of the default skin: every dialog's size, files, decoration and controls. The INI
// files and every picture are produced from it, so rectangles and faces always agree.
namespace skingen {

// How a control looks in the pictures. Controls the program draws itself (labels, lists, selectors,
// colour pickers, the lighting bitmaps) are only placed and look like nothing here.
enum class Look {
    None,        // placed only
    Well,        // placed; the dialog shows a recessed field behind it
    Key,         // key cap with its legend
    Button,      // caption drawn by the program
    Primary,     // as Button, in the accent colour
    Icon,        // glyph only, flat until hovered
    ToolButton,  // cap with a glyph at its left; the program may add a caption beside it
    Segment,     // one piece of a segmented control (profiles, report rates, pages)
    Lock,        // lock indicator picture
    BankPanel,   // backdrop of the G-key column with the bank badge
    FlipPanel,   // backdrop of the F1..F4 / D1..D6 group
    FlipToggle,  // small flip switch
    Title,       // a dialog's title mark
    Page,        // a page's background panel
};

enum class Glyph {
    None,
    Close,
    Minimize,
    Menu,
    Help,
    Link,
    Plus,
    Minus,
    Folder,
    Record,
    Top,
    Up,
    Down,
    Bottom,
    Trash,
    Eraser,
    Keyboard,
    Save,
    Upload,
    Cancel,
    Caps,
    Num,
    Scroll,
    Flip,
    Chevron,
    Macro,
    Profiles,
    Media,
    Function,
};

enum class State { Normal, Over, Down, Disabled, Checked };

struct Control {
    std::string key;
    QRect rect;
    Look look = Look::None;
    QString text;  // key legend, or the label baked into a face (report rates)
    Glyph glyph = Glyph::None;
    bool hidden = false;  // written as "1,1,w,h": the dialog hides it by design
    QRect group;          // Segment: the whole segmented control
    int variants = -1;    // bit mask of the dialog variants that draw it
};

enum class DecorKind { TitleStrip, Wordmark, Plate, Card, Divider, Watermark };

struct Decor {
    DecorKind kind;
    QRect rect;
    Glyph glyph = Glyph::None;
    int variants = -1;
};

// One full-dialog picture: the dialog drawn with every button in one state.
struct StatePicture {
    QString file;
    State state;
    int variant = 0;
};

using IniSection = std::pair<std::string, std::vector<std::pair<std::string, std::string>>>;

struct Dialog {
    QString iniFile;
    QSize size;
    QString background;  // "SCREEN"/"Main": the dialog in its normal state, variant 0
    QString mask;        // "SCREEN"/"Mask"
    std::vector<std::pair<std::string, std::string>> screenExtra;
    std::vector<Decor> decor;
    std::vector<Control> controls;
    std::vector<StatePicture> pictures;
    std::vector<IniSection> sections;  // after "SCREEN" and "BUTTONINFO"

    const Control* find(const std::string& key) const;
};

// Variants of the dialogs that have more than one look.
enum MainVariant { kMainPlain = 0, kMainFlipLayer = 1 };
enum CompositeVariant {
    kPageKey = 0,
    kPageMedia = 1,
    kPageFunction = 2,
    kPageMacroOnly = 3,
    kPageMacro = 4
};

// Colours shared by the painter and the panel bitmaps.
// The skin's colours, shared with the application style.
namespace palette = korvel::skin_palette;

// Every dialog of the default skin: Main, Composite, Macro, Profile, UpdateDlg.
std::vector<Dialog> BuildSkin();

// "Arrow.jpg": the faces of the flip arrows, and where each lies (the "BUTTONINFO2" values).
struct ArrowFace {
    std::string key;  // UP_ARROW_LEFT1 ...
    QRect rect;       // face position inside Arrow.jpg, as written: the face is drawn at (x-1, y-1)
    bool up;
    bool strong;  // the second look of each arrow
};
QSize ArrowPictureSize();
std::vector<ArrowFace> ArrowFaces(QSize faceSize);

}  // namespace skingen
