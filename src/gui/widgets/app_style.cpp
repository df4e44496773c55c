#include "gui/widgets/app_style.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>

#include "gui/skin/skin_palette.h"

namespace korvel {
namespace {

namespace sp = skin_palette;

QColor Rgb(unsigned rgb) {
    return QColor::fromRgb(rgb);
}

QString Hex(unsigned rgb) {
    return Rgb(rgb).name();
}

// The style sheet with the skin's colours filled in: %window, %card and the others name the
// palette's entries.
const char kStyleSheet[] = R"(
QToolTip { color: %legend; background: %card; border: 1px solid %edge; padding: 3px; }
QMenu { color: %legend; background: %card; border: 1px solid %edge; padding: 4px; }
QMenu::item { padding: 5px 22px 5px 22px; border-radius: 4px; }
QMenu::item:selected { background: %accent; color: %onaccent; }
QMenu::item:disabled { color: %disabled; }
QMenu::separator { height: 1px; background: %edge; margin: 4px 8px; }
QMenu::indicator { width: 12px; height: 12px; left: 6px; }
QComboBox { color: %legend; background: %cap; border: 1px solid %edge; border-radius: 5px;
            padding: 2px 8px; }
QComboBox:hover, QComboBox:focus { border-color: %accent; }
QComboBox:disabled { color: %disabled; }
QComboBox::drop-down { subcontrol-origin: padding; subcontrol-position: center right; width: 20px;
                       border: none; background: transparent; }
QComboBox::down-arrow { width: 12px; height: 12px; }
QComboBox QAbstractItemView { color: %legend; background: %card; border: 1px solid %edge;
                              selection-background-color: %accent; selection-color: %onaccent; }
QMessageBox, QFileDialog, QColorDialog, QDialog { background: %plate; }
QMessageBox QLabel, QFileDialog QLabel, QColorDialog QLabel { color: %legend; }
QPushButton { color: %legend; background: %cap; border: 1px solid %edge; border-radius: 5px;
              padding: 4px 14px; }
QDialogButtonBox QPushButton { min-width: 56px; }
QPushButton:hover { border-color: %accent; }
QPushButton:focus { border-color: %accent; }
QPushButton:pressed { background: %capdown; }
QPushButton:disabled { color: %disabled; background: %capdown; border-color: %capdown; }
QToolButton { color: %legend; background: %cap; border: 1px solid %edge; border-radius: 4px;
              padding: 2px; }
QToolButton:hover { border-color: %accent; }
QLineEdit, QSpinBox, QListView, QTreeView, QTableView, QHeaderView::section {
    color: %legend; background: %window; border: 1px solid %edge; border-radius: 4px;
    selection-background-color: %accent; selection-color: %onaccent; }
QLineEdit:focus, QSpinBox:focus { border-color: %accent; }
QLineEdit:disabled, QSpinBox:disabled, QListView:disabled, QTreeView:disabled,
QTableView:disabled { color: %disabled; }
QListView::item:hover, QTreeView::item:hover { background: %caphover; }
QListView::item:selected, QTreeView::item:selected { background: %accent; color: %onaccent; }
QHeaderView::section { background: %cap; border-radius: 0; padding: 3px; }
QTableView { gridline-color: %cap; outline: 0; }
QTableView::indicator, QListView::indicator, QTreeView::indicator {
    width: 14px; height: 14px; border: 1px solid %muted; border-radius: 3px; background: %window; }
QTableView::indicator:checked, QListView::indicator:checked, QTreeView::indicator:checked {
    border-color: %accent; background: %accent; }
QTableView::indicator:hover, QListView::indicator:hover { border-color: %accent; }
QCheckBox, QRadioButton { color: %legend; spacing: 6px; }
QCheckBox:disabled, QRadioButton:disabled { color: %disabled; }
QCheckBox::indicator { width: 14px; height: 14px; border: 1px solid %muted; border-radius: 3px;
                       background: %window; }
QCheckBox::indicator:hover { border-color: %accent; }
QCheckBox::indicator:checked { background: %accent; border-color: %accent; }
QCheckBox::indicator:disabled { border-color: %edge; background: %plate; }
QScrollBar:vertical { background: %window; width: 10px; }
QScrollBar::handle:vertical { background: %edge; border-radius: 4px; min-height: 24px; }
QScrollBar:horizontal { background: %window; height: 10px; }
QScrollBar::handle:horizontal { background: %edge; border-radius: 4px; min-width: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
)";

QString StyleSheet() {
    QString sheet = QString::fromLatin1(kStyleSheet);
    // Longer names first, so %cap does not eat %caphover or %capdown.
    const std::pair<const char*, unsigned> colours[] = {
        {"%caphover", sp::kCapHover}, {"%capdown", sp::kCapDown}, {"%onaccent", sp::kOnAccent},
        {"%disabled", sp::kDisabled}, {"%legend", sp::kLegend},   {"%window", sp::kWindow},
        {"%accent", sp::kAccent},     {"%plate", sp::kPlate},     {"%muted", sp::kMuted},
        {"%card", sp::kCard},         {"%edge", sp::kEdge},       {"%cap", sp::kCap},
    };
    for (const auto& [name, rgb] : colours) {
        sheet.replace(QLatin1String(name), Hex(rgb));
    }
    return sheet;
}

QPixmap DrawMessageIcon(MessageIcon icon, int side, qreal ratio) {
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const unsigned colour = icon == MessageIcon::Warning    ? sp::kWarm
                            : icon == MessageIcon::Critical ? sp::kDanger
                                                            : sp::kAccent;
    const QRectF badge(1, 1, side - 2, side - 2);
    QColor halo = Rgb(colour);
    halo.setAlpha(48);
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(badge);
    painter.setBrush(Rgb(colour));
    painter.drawEllipse(badge.adjusted(side * 0.12, side * 0.12, -side * 0.12, -side * 0.12));
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPixelSize(qRound(side * 0.46));
    painter.setFont(font);
    painter.setPen(Rgb(sp::kOnAccent));
    const QString mark = icon == MessageIcon::Information ? QStringLiteral("i")
                         : icon == MessageIcon::Question  ? QStringLiteral("?")
                         : icon == MessageIcon::Warning   ? QStringLiteral("!")
                                                          : QString(QChar(0x00D7));
    painter.drawText(badge, Qt::AlignCenter, mark);
    return pixmap;
}

// Fusion with the skin's message-box icons and the skin's tooltip delay.
class SkinStyle : public QProxyStyle {
public:
    SkinStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QIcon standardIcon(StandardPixmap pixmap, const QStyleOption* option,
                       const QWidget* widget) const override {
        switch (pixmap) {
            case SP_MessageBoxInformation:
                return MessageIconOf(MessageIcon::Information);
            case SP_MessageBoxQuestion:
                return MessageIconOf(MessageIcon::Question);
            case SP_MessageBoxWarning:
                return MessageIconOf(MessageIcon::Warning);
            case SP_MessageBoxCritical:
                return MessageIconOf(MessageIcon::Critical);
            default:
                return QProxyStyle::standardIcon(pixmap, option, widget);
        }
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) {
            return sp::kTooltipDelayMs;
        }
        // Plain captions on dialog buttons: the stock Yes/No/OK pictures belong to a light look.
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

QIcon MessageIconOf(MessageIcon icon) {
    QIcon result;
    for (const int side : {32, 48, 64}) {
        result.addPixmap(DrawMessageIcon(icon, side, 1.0));
    }
    return result;
}

void ApplyApplicationStyle(QApplication& app, const QString& skinFolder) {
    app.setStyle(new SkinStyle);
    QPalette palette;
    const QColor window = Rgb(sp::kPlate), base = Rgb(sp::kWindow), button = Rgb(sp::kCap),
                 text = Rgb(sp::kLegend), accent = Rgb(sp::kAccent), dim = Rgb(sp::kDisabled);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, Rgb(sp::kCard));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, Rgb(sp::kMuted));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, Rgb(sp::kCapHover));
    palette.setColor(QPalette::Midlight, Rgb(sp::kEdge));
    palette.setColor(QPalette::Mid, Rgb(sp::kCapDown));
    palette.setColor(QPalette::Dark, Rgb(sp::kTitle));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Rgb(sp::kOnAccent));
    palette.setColor(QPalette::Link, accent);
    palette.setColor(QPalette::LinkVisited, Rgb(sp::kAccentDeep));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, dim);
    }
    palette.setColor(QPalette::Disabled, QPalette::Button, Rgb(sp::kCapDown));
    app.setPalette(palette);
    const QDir skin(skinFolder.isEmpty()
                        ? QCoreApplication::applicationDirPath() + QStringLiteral("/Skins")
                        : skinFolder);
    app.setStyleSheet(StyleSheet() + QStringLiteral("QComboBox::down-arrow { image: url(%1); }\n")
                                         .arg(skin.filePath(QStringLiteral("combo_arrow.png"))));
}

}  // namespace korvel
