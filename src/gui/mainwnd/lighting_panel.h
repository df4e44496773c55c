#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>
#include <map>

class QWidget;

namespace korvel {

class CIniFile;

// The lighting group of the main window, laid out from the skin: labels with the skin's own
// texts, the on/off, direction, colour-choice and tool pictures, the two image sliders, the
// effect and preset selectors and the colour pickers. Until an effect is shown only the panel's
// label and its on/off picture are visible.
class LightingPanel : public QObject {
    Q_OBJECT

public:
    // `language` is the language setting: 0 takes the labels of "Control_Name", 1 those of
    // "Control_Name1", anything else none.
    LightingPanel(QWidget* dialog, const CIniFile& skin, const QString& skinFolder, int language);

    // A control by its id; null for ids that are not the panel's.
    QWidget* Control(int controlId) const;
    // A bitmap of the panel, loaded once ("dengup.bmp", "0.bmp", ...).
    const QPixmap& Picture(const QString& file) const;

private:
    QWidget* Add(int controlId, const char* entry, QWidget* control);
    void LoadPictures(const QString& skinFolder);

    const CIniFile& m_skin;
    std::map<int, QWidget*> m_controls;
    std::map<QString, QPixmap> m_pictures;
};

}  // namespace korvel
