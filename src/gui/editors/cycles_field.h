#pragma once

#include <QString>
#include <cstdint>

class QLineEdit;
class QWidget;

namespace korvel {

// The cycles field of both macro editors: up to three digits, centred.
QLineEdit* MakeCyclesField(QWidget* dialog);
// What the user typed, as the cycles a macro keeps (1..255); the field shows them when they differ.
std::uint8_t TakeTypedCycles(QLineEdit& field, const QString& text);

}  // namespace korvel
