#include "ini_writer.h"

namespace skingen {

namespace {

void Line(QByteArray& out, const std::string& key, const std::string& value) {
    out += QByteArray::fromStdString(key) + '=' + QByteArray::fromStdString(value) + "\r\n";
}

void Section(QByteArray& out, const char* name) {
    if (!out.isEmpty())
        out += "\r\n";
    out += QByteArray("[") + name + "]\r\n";
}

std::string RectText(const Control& c) {
    const QRect r = c.hidden ? QRect(QPoint(1, 1), c.rect.size()) : c.rect;
    return QStringLiteral("%1,%2,%3,%4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

}  // namespace

QByteArray IniText(const Dialog& dialog) {
    QByteArray out;
    Section(out, "SCREEN");
    Line(out, "Main", dialog.background.toStdString());
    Line(out, "Mask", dialog.mask.toStdString());
    for (const auto& [key, value] : dialog.screenExtra)
        Line(out, key, value);
    Section(out, "BUTTONINFO");
    for (const Control& c : dialog.controls)
        Line(out, c.key, RectText(c));
    for (const auto& [name, entries] : dialog.sections) {
        Section(out, name.c_str());
        for (const auto& [key, value] : entries)
            Line(out, key, value);
    }
    return out;
}

}  // namespace skingen
