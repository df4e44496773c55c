#include "gui/editors/macro_action_table.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "model/keys/key_codec.h"
#include "model/macros/macro_action_list.h"

namespace korvel {
namespace {

enum Column { kKeyColumn = 0, kDirectionColumn = 1, kDelayColumn = 2 };
constexpr int kKeyListRows = 20;

// Opens the editor of each cell and hands the chosen value to the table's signals.
class StepDelegate : public QStyledItemDelegate {
public:
    StepDelegate(MacroActionTable* table, const KeyCodec& codec)
        : QStyledItemDelegate(table), m_table(table), m_codec(codec) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        emit m_table->editStarted(index.column());
        if (index.column() == kDelayColumn) {
            auto* edit = new QLineEdit(parent);
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit));
            QObject::connect(edit, &QLineEdit::textEdited, edit, [this, edit](const QString& text) {
                const QString hint =
                    m_table->DelayHint() ? m_table->DelayHint()(text.toULongLong()) : QString();
                edit->setToolTip(hint);
                if (hint.isEmpty()) {
                    QToolTip::hideText();
                } else {
                    QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), hint, edit);
                }
            });
            return edit;
        }
        auto* box = new QComboBox(parent);
        box->setMaxVisibleItems(kKeyListRows);
        if (index.column() == kKeyColumn) {
            for (int p = 0; p < kAssignableKeys; ++p) {
                box->addItem(QString::fromStdU16String(m_codec.KeyNameOf(ScanOfListPosition(p))));
            }
        } else {
            box->addItem(MacroActionTable::DirectionText(kMacroPress));
            box->addItem(MacroActionTable::DirectionText(kMacroRelease));
        }
        return box;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const int value = index.data(Qt::UserRole).toInt();
        if (index.column() == kDelayColumn) {
            static_cast<QLineEdit*>(editor)->setText(QString::number(value));
        } else if (index.column() == kKeyColumn) {
            const std::uint16_t position = ListPositionOfScan(static_cast<ScanCode>(value));
            static_cast<QComboBox*>(editor)->setCurrentIndex(
                position == kListPositionNone ? -1 : position);
        } else {
            static_cast<QComboBox*>(editor)->setCurrentIndex(value);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        if (index.column() == kDelayColumn) {
            const QString text = static_cast<QLineEdit*>(editor)->text();
            if (!text.isEmpty()) {
                emit m_table->delayTyped(index.row(), text.toULongLong());
            }
            return;
        }
        const int chosen = static_cast<QComboBox*>(editor)->currentIndex();
        if (chosen < 0) {
            return;
        }
        if (index.column() == kKeyColumn) {
            emit m_table->keyChosen(index.row(), ScanOfListPosition(chosen));
        } else {
            emit m_table->directionChosen(index.row(), static_cast<std::uint16_t>(chosen));
        }
    }

private:
    MacroActionTable* m_table;
    const KeyCodec& m_codec;
};

}  // namespace

MacroActionTable::MacroActionTable(QWidget* parent, const KeyCodec& codec)
    : QTableWidget(0, 3, parent), m_codec(codec) {
    setItemDelegate(new StepDelegate(this, codec));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setStretchLastSection(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setShowGrid(false);
}

void MacroActionTable::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    // Key and direction take fixed shares; the delay column fills the rest.
    const int width = viewport()->width();
    setColumnWidth(kKeyColumn, width * 2 / 5);
    setColumnWidth(kDirectionColumn, width / 5);
}

QString MacroActionTable::DirectionText(std::uint16_t direction) {
    return direction == kMacroPress ? QStringLiteral("\u2193") : QStringLiteral("  \u2191");
}

void MacroActionTable::SetHeadings(const QString& key, const QString& action,
                                   const QString& delay) {
    setHorizontalHeaderLabels({key, action, delay});
}

void MacroActionTable::Show(const MacroActionList& list, int greyRow) {
    const QSignalBlocker quiet(this);
    setRowCount(list.Size());
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (int row = 0; row < list.Size(); ++row) {
        const MacroAction& action = list.Actions()[static_cast<std::size_t>(row)];
        const QString texts[] = {QString::fromStdU16String(m_codec.KeyNameOf(action.key)),
                                 DirectionText(action.direction), QString::number(action.delayMs)};
        const int values[] = {action.key, action.direction, static_cast<int>(action.delayMs)};
        for (int column = 0; column < 3; ++column) {
            // A cell's item is changed in place, never replaced: replacing it would take away the
            // editor that may be committing into it right now.
            QTableWidgetItem* cell = item(row, column);
            if (cell == nullptr) {
                cell = new QTableWidgetItem;
                setItem(row, column, cell);
            }
            cell->setText(texts[column]);
            cell->setData(Qt::UserRole, values[column]);
            cell->setData(Qt::ForegroundRole, column < kDelayColumn || row == greyRow
                                                  ? QVariant(QBrush(grey))
                                                  : QVariant());
        }
    }
    // The selection follows the list without moving the current cell, which would end an edit
    // that is still committing.
    if (list.Selected() >= 0) {
        selectionModel()->select(model()->index(list.Selected(), 0),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollToItem(item(list.Selected(), 0));
    } else {
        selectionModel()->clearSelection();
    }
}

void MacroActionTable::FinishEdit() {
    if (state() != QAbstractItemView::EditingState) {
        return;
    }
    const QModelIndex edited = currentIndex();
    if (QWidget* editor = indexWidget(edited)) {
        commitData(editor);
        // Showing the committed step may already have ended the edit (the selection moves).
        if (indexWidget(edited) == editor) {
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
}

}  // namespace korvel
