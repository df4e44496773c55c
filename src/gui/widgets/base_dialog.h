#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "gui/widgets/ini_file.h"

namespace korvel {

// A frameless dialog painted with its skin's background picture and cut to its mask picture's
// shape ("SCREEN": "Main", and "Mask", which defaults to "Main"). It can be dragged from anywhere
// on its own surface, and Enter and Escape never close it.
class CBaseDialog : public QDialog {
    Q_OBJECT

public:
    CBaseDialog(QWidget* parent, const QString& skinIni, const QString& skinFolder);

    // Loads the background and mask, sizes the window to the background and shapes it to the
    // mask. False when a picture cannot be read or decoded; SkinError() then names the file.
    bool ApplySkin();
    const QString& SkinError() const { return m_skinError; }

    const CIniFile& Skin() const { return m_ini; }
    CIniFile& Skin() { return m_ini; }
    const QString& SkinFolder() const { return m_skinFolder; }
    const QRegion& WindowShape() const { return m_shape; }

protected:
    void SetSkinError(const QString& error) { m_skinError = error; }
    // The background picture, for a dialog that draws its buttons' normal faces into it once:
    // they then need no picture of their own.
    QPixmap& Background() { return m_background; }
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CIniFile m_ini;
    QString m_skinFolder;
    QPixmap m_background;
    QString m_backgroundFile;
    QRegion m_shape;
    QString m_skinError;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

}  // namespace korvel
