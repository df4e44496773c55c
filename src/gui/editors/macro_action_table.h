#pragma once

#include <QTableWidget>
#include <cstdint>
#include <functional>

#include "model/keys/key_codes.h"

namespace korvel {

class KeyCodec;
class MacroActionList;

// The action list of both macro editors: key, direction and delay of each step, edited in place
// (a drop-down of the assignable keys, a drop-down of the two directions, a digits-only delay).
// It shows a MacroActionList and reports edits; the owner changes the list and shows it again.
class MacroActionTable : public QTableWidget {
    Q_OBJECT

public:
    MacroActionTable(QWidget* parent, const KeyCodec& codec);

    void SetHeadings(const QString& key, const QString& action, const QString& delay);
    // Rebuilds the rows; `greyRow` (a freshly recorded step) is drawn in grey.
    void Show(const MacroActionList& list, int greyRow = -1);
    // Ends an in-place edit that is open, keeping what was typed.
    void FinishEdit();

    static QString DirectionText(std::uint16_t direction);

    // What a delay being typed will be kept as, shown beside the cell as the user types; an
    // empty text shows nothing (the delay is kept as typed).
    void SetDelayHint(std::function<QString(quint64 typed)> hint) { m_delayHint = std::move(hint); }
    const std::function<QString(quint64)>& DelayHint() const { return m_delayHint; }

signals:
    void editStarted(int column);
    void keyChosen(int row, ScanCode key);
    void directionChosen(int row, std::uint16_t direction);
    void delayTyped(int row, quint64 delay);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const KeyCodec& m_codec;
    std::function<QString(quint64)> m_delayHint;
};

}  // namespace korvel
