#include "gui/editors/cycles_field.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "model/macros/macro_action_list.h"

namespace korvel {

QLineEdit* MakeCyclesField(QWidget* dialog) {
    auto* field = new QLineEdit(dialog);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), field));
    field->setAlignment(Qt::AlignCenter);
    return field;
}

std::uint8_t TakeTypedCycles(QLineEdit& field, const QString& text) {
    const std::uint8_t cycles = CyclesFromText(text.toStdU16String());
    if (text.isEmpty() || text.toInt() != cycles) {
        field.setText(QString::number(cycles));
    }
    return cycles;
}

}  // namespace korvel
