#pragma once

#include <QColor>
#include <QRect>
#include <QString>

namespace korvel {

class PrivateProfile;

// How a kind of text on a skinned control is drawn.
struct TextStyle {
    int pointSize = 9;
    QString face;
    QColor colour;
    bool bold = true;
};

// The kinds of text the dialogs draw on their pictures.
enum class SkinText {
    Button,       // captions on buttons
    Title,        // a dialog's title on its picture
    Label,        // captions beside controls
    SceneButton,  // the main window's scene-mode button
    SmallButton,  // the update dialog's narrow buttons
};

// The look of one dialog: where its controls go, its pictures, its captions in the user's language
// and its fonts. Every skinned dialog reads its look through this alone, so a test can hand a
// dialog a skin of its own.
class DialogSkin {
public:
    virtual ~DialogSkin() = default;

    // A value of the skin's description; `defaultValue` when it is missing or reads as empty.
    virtual QString Value(const QString& section, const QString& key,
                          const QString& defaultValue) const = 0;
    // The skin's description as parsed, for the readers of the text layer.
    virtual const PrivateProfile& Description() const = 0;
    // What names the skin in a message (its description file).
    virtual QString Name() const = 0;
    // The file of a picture the skin names.
    virtual QString PicturePath(const QString& picture) const = 0;
    // The caption of a language key in the language in force now.
    virtual QString Caption(const char* key) const = 0;
    virtual TextStyle Style(SkinText kind) const;

    // The rectangle of a control ("x,y,w,h" in the dialog's coordinates); "1,1,1,1" when missing.
    QRect Rect(const QString& section, const QString& key) const;
};

}  // namespace korvel
