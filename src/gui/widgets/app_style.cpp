#include "gui/widgets/app_style.h"

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QStyleFactory>

namespace korvel {
namespace {

const char kStyleSheet[] = R"(
QToolTip { color: #e4e4e4; background: #1f232b; border: 1px solid #3a404c; padding: 3px; }
QMenu { color: #e4e4e4; background: #1f232b; border: 1px solid #3a404c; padding: 4px; }
QMenu::item { padding: 5px 22px 5px 22px; border-radius: 4px; }
QMenu::item:selected { background: #27c4f5; color: #101216; }
QMenu::separator { height: 1px; background: #3a404c; margin: 4px 8px; }
QMenu::indicator { width: 12px; height: 12px; left: 6px; }
QComboBox { color: #e4e4e4; background: #2a2f3a; border: 1px solid #3a404c; border-radius: 5px;
            padding: 2px 8px; }
QComboBox:hover, QComboBox:focus { border-color: #27c4f5; }
QComboBox::drop-down { subcontrol-origin: padding; subcontrol-position: center right; width: 20px;
                       border: none; background: transparent; }
QComboBox::down-arrow { width: 12px; height: 12px; }
QComboBox QAbstractItemView { color: #e4e4e4; background: #1f232b; border: 1px solid #3a404c;
                              selection-background-color: #27c4f5; selection-color: #101216; }
QMessageBox, QFileDialog, QColorDialog, QDialog { background: #1b1e24; }
QPushButton { color: #e4e4e4; background: #2a2f3a; border: 1px solid #3a404c; border-radius: 5px;
              padding: 4px 14px; }
QPushButton:hover { border-color: #27c4f5; }
QPushButton:pressed { background: #20242c; }
QPushButton:disabled { color: #6b717c; }
QLineEdit, QSpinBox, QListView, QTreeView, QTableView, QHeaderView::section {
    color: #e4e4e4; background: #16181d; border: 1px solid #3a404c; border-radius: 4px;
    selection-background-color: #27c4f5; selection-color: #101216; }
QHeaderView::section { background: #2a2f3a; border-radius: 0; padding: 3px; }
QTableView { gridline-color: #2a2f3a; outline: 0; }
QTableView::indicator { width: 14px; height: 14px; border: 1px solid #8b93a1; border-radius: 3px;
                        background: #16181d; }
QTableView::indicator:checked { border-color: #27c4f5; background: #27c4f5; }
QTableView::indicator:hover { border-color: #27c4f5; }
QCheckBox { color: #e4e4e4; spacing: 6px; }
QCheckBox::indicator { width: 14px; height: 14px; border: 1px solid #5b6472; border-radius: 3px;
                       background: #16181d; }
QCheckBox::indicator:hover { border-color: #27c4f5; }
QCheckBox::indicator:checked { background: #27c4f5; border-color: #27c4f5; }
QScrollBar:vertical { background: #16181d; width: 10px; }
QScrollBar::handle:vertical { background: #3a404c; border-radius: 4px; min-height: 24px; }
QScrollBar:horizontal { background: #16181d; height: 10px; }
QScrollBar::handle:horizontal { background: #3a404c; border-radius: 4px; min-width: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
)";

}  // namespace

void ApplyApplicationStyle(QApplication& app, const QString& skinFolder) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        app.setStyle(fusion);
    }
    QPalette palette;
    const QColor window(0x1b, 0x1e, 0x24), base(0x16, 0x18, 0x1d), button(0x2a, 0x2f, 0x3a),
        text(0xe4, 0xe4, 0xe4), accent(0x27, 0xc4, 0xf5), dim(0x6b, 0x71, 0x7c);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, dim);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, QColor(0x10, 0x12, 0x16));
    palette.setColor(QPalette::Link, accent);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, dim);
    }
    app.setPalette(palette);
    const QDir skin(skinFolder.isEmpty()
                        ? QCoreApplication::applicationDirPath() + QStringLiteral("/Skins")
                        : skinFolder);
    app.setStyleSheet(QString::fromLatin1(kStyleSheet) +
                      QStringLiteral("QComboBox::down-arrow { image: url(%1); }\n")
                          .arg(skin.filePath(QStringLiteral("combo_arrow.png"))));
}

}  // namespace korvel
