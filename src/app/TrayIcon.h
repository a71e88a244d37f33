// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <optional>

namespace tavolen::app {

// The tray presence: the brand mark; a left click captures, a right click
// opens a menu built afresh each time in the language of the moment.
class TrayIcon final : public QObject {
public:
    struct Actions {
        std::function<void()> capture;
        std::function<void()> checkForUpdates;
        std::function<void()> settings;
        // After the language setting changed (once the menu has closed).
        std::function<void()> languageChanged;
        std::function<void()> quit;
    };

    // `settings` holds the language choice and must outlive the icon.
    TrayIcon(Actions actions, SettingsStore &settings, QObject *parent = nullptr);

    void show();
    // Where the icon is on screen, when the tray host says.
    std::optional<QRect> geometry() const;
    // The menu as it is built for the next opening.
    QMenu &menu() { return m_menu; }
    void rebuildMenu();

    // The brand mark, drawn sharp at each of the tray's usual sizes.
    static QIcon markIcon();

private:
    void setLanguage(const QString &code);

    Actions m_actions;
    SettingsStore &m_settings;
    QSystemTrayIcon m_icon;
    QMenu m_menu;
};

} // namespace tavolen::app
