#include "gui/mainwnd/program_rules_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/mainwnd/window_parts.h"
#include "gui/platform/running_programs.h"
#include "ports/prompts.h"

namespace korvel {
namespace {

constexpr int kProfiles = 3;

}  // namespace

ProgramRulesDialog::ProgramRulesDialog(const WindowParts& parts, const ProgramRules& rules,
                                       QStringList running, bool followsWindows, QWidget* parent)
    : QDialog(parent), m_parts(parts), m_running(std::move(running)) {
    const auto caption = [&parts](const char* key) {
        return QString::fromStdU16String(parts.Caption(key));
    };
    setWindowTitle(caption("RULES_TITLE"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->setSpacing(12);
    auto* heading = new QLabel(caption("RULES_HEADING"), this);
    heading->setWordWrap(true);
    layout->addWidget(heading);
    if (!followsWindows) {
        auto* wayland = new QLabel(caption("RULES_WAYLAND"), this);
        wayland->setObjectName(QStringLiteral("waylandNotice"));
        wayland->setWordWrap(true);
        layout->addWidget(wayland);
    }

    m_rules = new QTreeWidget(this);
    m_rules->setObjectName(QStringLiteral("rules"));
    m_rules->setColumnCount(2);
    m_rules->setHeaderLabels({caption("RULES_PROGRAM"), caption("RULES_PROFILE")});
    m_rules->setRootIsDecorated(false);
    m_rules->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_rules->setMinimumSize(460, 220);
    m_rules->setAccessibleName(caption("RULES_TITLE"));
    layout->addWidget(m_rules);
    for (const ProgramRule& rule : rules.rules) {
        AddRow(QString::fromStdU16String(rule.program), rule.profile);
    }

    auto* edits = new QHBoxLayout;
    const auto button = [this, edits](const QString& text, auto action) {
        auto* b = new QPushButton(text, this);
        connect(b, &QPushButton::clicked, this, action);
        edits->addWidget(b);
        return b;
    };
    button(caption("RULES_ADD"), [this] { ChooseProgramToAdd(); });
    button(caption("RULES_REMOVE"), [this] { RemoveSelected(); });
    button(caption("RULES_UP"), [this] { MoveSelected(-1); });
    button(caption("RULES_DOWN"), [this] { MoveSelected(1); });
    edits->addStretch();
    layout->addLayout(edits);

    auto* otherwise = new QHBoxLayout;
    auto* otherwiseLabel = new QLabel(caption("RULES_OTHERWISE"), this);
    m_otherwise = ProfileChoice(true);
    m_otherwise->setObjectName(QStringLiteral("otherwise"));
    m_otherwise->setCurrentIndex(rules.otherwise ? *rules.otherwise + 1 : 0);
    otherwiseLabel->setBuddy(m_otherwise);
    otherwise->addWidget(otherwiseLabel);
    otherwise->addWidget(m_otherwise, 1);
    layout->addLayout(otherwise);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QComboBox* ProgramRulesDialog::ProfileChoice(bool withNone) const {
    auto* choice = new QComboBox;
    if (withNone) {
        choice->addItem(QString::fromStdU16String(m_parts.Caption("RULES_LEAVE")));
    }
    static constexpr const char* kNames[kProfiles] = {"PROFILE_1", "PROFILE_2", "PROFILE_3"};
    for (const char* name : kNames) {
        choice->addItem(QString::fromStdU16String(m_parts.Caption(name)));
    }
    return choice;
}

void ProgramRulesDialog::AddRow(const QString& program, int profile) {
    auto* item = new QTreeWidgetItem(m_rules, {program});
    QComboBox* choice = ProfileChoice(false);
    choice->setCurrentIndex(profile);
    choice->setAccessibleName(program);
    m_rules->setItemWidget(item, 1, choice);
    m_rules->setCurrentItem(item);
}

void ProgramRulesDialog::AddProgram(const QString& program) {
    const QString name = program.trimmed();
    if (name.isEmpty()) {
        return;
    }
    for (int row = 0; row < m_rules->topLevelItemCount(); ++row) {
        if (SameProgram(m_rules->topLevelItem(row)->text(0).toStdU16String(),
                        name.toStdU16String())) {
            m_rules->setCurrentItem(m_rules->topLevelItem(row));
            return;
        }
    }
    AddRow(name, 0);
}

void ProgramRulesDialog::ChooseProgramToAdd() {
    QMenu menu(this);
    for (const QString& program : m_running) {
        menu.addAction(program, this, [this, program] { AddProgram(program); });
    }
    if (!m_running.isEmpty()) {
        menu.addSeparator();
    }
    menu.addAction(QString::fromStdU16String(m_parts.Caption("RULES_OTHER_PROGRAM")), this, [this] {
        bool ok = false;
        const QString typed = QInputDialog::getText(
            this, windowTitle(), QString::fromStdU16String(m_parts.Caption("RULES_PROGRAM")),
            QLineEdit::Normal, QString(), &ok);
        if (ok) {
            AddProgram(typed);
        }
    });
    menu.exec(QCursor::pos());
}

void ProgramRulesDialog::RemoveSelected() {
    delete m_rules->currentItem();
}

void ProgramRulesDialog::MoveSelected(int by) {
    QTreeWidgetItem* item = m_rules->currentItem();
    if (item == nullptr) {
        return;
    }
    const int row = m_rules->indexOfTopLevelItem(item);
    const int to = row + by;
    if (to < 0 || to >= m_rules->topLevelItemCount()) {
        return;
    }
    // The row's profile choice goes with it: the item is taken out and put back with a new one.
    const int profile = static_cast<QComboBox*>(m_rules->itemWidget(item, 1))->currentIndex();
    const QString program = item->text(0);
    delete m_rules->takeTopLevelItem(row);
    auto* moved = new QTreeWidgetItem({program});
    m_rules->insertTopLevelItem(to, moved);
    QComboBox* choice = ProfileChoice(false);
    choice->setCurrentIndex(profile);
    choice->setAccessibleName(program);
    m_rules->setItemWidget(moved, 1, choice);
    m_rules->setCurrentItem(moved);
}

ProgramRules ProgramRulesDialog::Rules() const {
    ProgramRules rules;
    for (int row = 0; row < m_rules->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = m_rules->topLevelItem(row);
        const auto* choice = static_cast<QComboBox*>(m_rules->itemWidget(item, 1));
        rules.rules.push_back({item->text(0).toStdU16String(), choice->currentIndex()});
    }
    if (m_otherwise->currentIndex() > 0) {
        rules.otherwise = m_otherwise->currentIndex() - 1;
    }
    return rules;
}

void EditProgramRules(WindowParts& parts, bool followsWindows) {
    const std::filesystem::path file = parts.services.programRules;
    ProgramRulesDialog dialog(parts, ReadProgramRules(file), RunningPrograms(), followsWindows,
                              &parts.window);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (!WriteProgramRules(file, dialog.Rules())) {
        parts.services.prompts.ShowMessage(
            parts.CaptionWith("RULES_WRITE_FAILED", file.u16string()), MessageKind::Error);
    }
}

}  // namespace korvel
