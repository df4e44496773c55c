#pragma once

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

#include "gui/platform/tray_menu.h"

class QAction;
class QMenu;

namespace korvel {

class TextTable;

// The program's icon in the notification area: its picture follows the keyboard, its tooltip
// names the program, a double-click asks for the window and its menu offers Open, About and Exit.
// The main window connects the three request signals to its own commands.
//
// Where the desktop has no notification area the program runs without the icon: Create returns
// false and every other call does nothing.
//
// Threads: the GUI thread only (device threads reach it through the main window).
class CTrayIcon : public QObject {
    Q_OBJECT
public:
    // Whether the desktop has a notification area; tests may answer for it.
    using Availability = std::function<bool()>;

    explicit CTrayIcon(const TextTable& texts, QObject* parent = nullptr,
                       Availability available = {});
    ~CTrayIcon() override;

    // Called once by the main window while it initialises, with KEYBOARD_TRAY_DESC.
    bool Create(const QString& tooltip, int iconId = 128);
    bool IsCreated() const { return m_created; }

    // 128, 141 or 142; the desktop is told only when the picture changes.
    void SetIcon(int resourceId);
    // The resource number shown, 0 while there is no icon.
    int ShownIcon() const { return m_created ? m_shownIcon : 0; }

    void SetTooltipText(const QString& text);
    QString TooltipText() const;

    void Remove();

    // The menu as the next right-click shows it; null while there is no icon.
    QMenu* Menu() const { return m_menu.get(); }
    // What the menu offers besides Open, About and Exit, asked each time it is filled.
    void SetMenuState(std::function<TrayMenuState()> state) { m_menuState = std::move(state); }

signals:
    void openRequested();
    void aboutRequested();
    void exitRequested();
    // Onboard profile 0..2 chosen from the menu.
    void profileRequested(int profile);
    // The lighting switch of the menu: on (true) or off.
    void lightingRequested(bool on);

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void OnMenuTriggered(QAction* action);

    void Fill();

    const TextTable& m_texts;
    Availability m_available;
    std::function<TrayMenuState()> m_menuState;
    bool m_created = false;
    int m_shownIcon = 0;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon = nullptr;
};

}  // namespace korvel
