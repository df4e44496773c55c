#include "gui/platform/tray_icon.h"

#include <QAction>
#include <QMenu>

#include "gui/platform/tray_icon_pictures.h"

namespace korvel {

CTrayIcon::CTrayIcon(const TextTable& texts, QObject* parent, Availability available)
    : QObject(parent), m_texts(texts), m_available(std::move(available)) {
    if (!m_available) {
        m_available = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    }
}

CTrayIcon::~CTrayIcon() {
    if (m_created) {
        m_icon->hide();
        delete m_icon;
    }
}

bool CTrayIcon::Create(const QString& tooltip, int iconId) {
    if (m_created || !m_available()) {
        return m_created;
    }
    m_menu = std::make_unique<QMenu>();
    Fill();
    // Filled again before every showing, so that the texts follow the language file and the
    // profiles the keyboard.
    connect(m_menu.get(), &QMenu::aboutToShow, this, &CTrayIcon::Fill);
    connect(m_menu.get(), &QMenu::triggered, this, &CTrayIcon::OnMenuTriggered);

    m_icon = new QSystemTrayIcon(KeyboardIcon(iconId), this);
    m_icon->setToolTip(tooltip);
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon, &QSystemTrayIcon::activated, this, &CTrayIcon::OnActivated);
    m_icon->show();
    m_shownIcon = iconId;
    m_created = true;
    return true;
}

void CTrayIcon::SetIcon(int resourceId) {
    if (!m_created || resourceId == m_shownIcon) {
        return;
    }
    m_icon->setIcon(KeyboardIcon(resourceId));
    m_shownIcon = resourceId;
}

void CTrayIcon::SetTooltipText(const QString& text) {
    if (m_created) {
        m_icon->setToolTip(text);
    }
}

QString CTrayIcon::TooltipText() const {
    return m_created ? m_icon->toolTip() : QString();
}

void CTrayIcon::Remove() {
    if (!m_created) {
        return;
    }
    m_created = false;
    m_icon->hide();
    // Exit is chosen from the menu itself, so the menu and the icon may be in the middle of
    // delivering that very command: they go when control is back in the event loop.
    m_icon->setContextMenu(nullptr);
    m_icon->deleteLater();
    m_icon = nullptr;
    m_menu.release()->deleteLater();
    m_shownIcon = 0;
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    // A single left click opens the window, as a double click does (opening it twice is
    // harmless: it only comes to the front).
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
        emit openRequested();
    } else if (reason == QSystemTrayIcon::Context && m_menu) {
        // Some notification areas show the menu without announcing it to the menu itself.
        Fill();
    }
}

void CTrayIcon::Fill() {
    FillTrayMenu(*m_menu, m_texts, m_menuState ? m_menuState() : TrayMenuState{});
}

void CTrayIcon::OnMenuTriggered(QAction* action) {
    const int command = action->data().toInt();
    if (command >= kCmdTrayProfile1 && command < kCmdTrayProfile1 + 3) {
        emit profileRequested(command - kCmdTrayProfile1);
        return;
    }
    switch (command) {
        case kCmdTrayLightingOff:
            emit lightingRequested(false);
            break;
        case kCmdTrayLightingOn:
            emit lightingRequested(true);
            break;
        case kCmdTrayOpen:
            emit openRequested();
            break;
        case kCmdTrayAbout:
            emit aboutRequested();
            break;
        case kCmdTrayExit:
            emit exitRequested();
            break;
        default:
            break;
    }
}

}  // namespace korvel
