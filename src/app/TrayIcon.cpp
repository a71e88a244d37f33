// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/TrayIcon.h"

#include "app/LanguageChoices.h"
#include "app/UpdateCheck.h"
#include "ui/Mark.h"
#include "ui/Tokens.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QPainter>
#include <QTimer>

namespace tavolen::app {

namespace {

// The context translators see this file's texts under.
struct TrayTexts {
    Q_DECLARE_TR_FUNCTIONS(TrayTexts)
};

} // namespace

QIcon TrayIcon::markIcon()
{
    QIcon icon;
    // The tray host picks the size; each one is drawn for its own pixels.
    for (int side : {16, 22, 24, 32, 44, 48, 64, 96, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        ui::paintMark(painter, QRectF(0, 0, side, side), QColor::fromRgb(ui::tokens::color::progressMark));
        painter.end();
        icon.addPixmap(pixmap);
    }
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral("mail-message-new"));
    return icon;
}

TrayIcon::TrayIcon(Actions actions, SettingsStore &settings, QObject *parent)
    : QObject(parent), m_actions(std::move(actions)), m_settings(settings)
{
    m_icon.setIcon(markIcon());
    m_icon.setToolTip(QStringLiteral("Tavolen"));
    m_icon.setContextMenu(&m_menu);
    connect(&m_menu, &QMenu::aboutToShow, this, &TrayIcon::rebuildMenu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // Only a plain (left) click captures; the menu's click never does.
        if (reason == QSystemTrayIcon::Trigger && m_actions.capture)
            m_actions.capture();
    });
    rebuildMenu();
}

void TrayIcon::show()
{
    m_icon.show();
}

std::optional<QRect> TrayIcon::geometry() const
{
    const QRect g = m_icon.geometry();
    return g.isValid() && !g.isEmpty() ? std::optional(g) : std::nullopt;
}

void TrayIcon::rebuildMenu()
{
    m_menu.clear();
    QAction *note = m_menu.addAction(TrayTexts::tr("Nothing is ever stored"));
    note->setEnabled(false);
    m_menu.addSeparator();
    // The menu shows the hot key in its shortcut column: the title does not repeat it.
    QAction *snap = m_menu.addAction(TrayTexts::tr("Snap it"));
    snap->setShortcut(QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_S));
    connect(snap, &QAction::triggered, this, [this] {
        if (m_actions.capture)
            m_actions.capture();
    });
    m_menu.addSeparator();

    QMenu *language = m_menu.addMenu(TrayTexts::tr("Language"));
    auto *group = new QActionGroup(language);
    const QString stored = storedLanguageChoice(m_settings);
    for (const auto &[code, name] : languageChoices()) {
        QAction *choice = language->addAction(name);
        choice->setCheckable(true);
        choice->setChecked(stored == code);
        choice->setData(code);
        group->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, code = code] { setLanguage(code); });
    }
    // Another stored value marks none of them.
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);

    // Always offered: a build without an update feed answers it with where
    // its updates come from.
    QAction *update = m_menu.addAction(checkForUpdatesTitle());
    connect(update, &QAction::triggered, this, [this] {
        if (m_actions.checkForUpdates)
            m_actions.checkForUpdates();
    });
    QAction *settings = m_menu.addAction(TrayTexts::tr("Settings…"));
    connect(settings, &QAction::triggered, this, [this] {
        if (m_actions.settings)
            m_actions.settings();
    });
    QAction *quit = m_menu.addAction(TrayTexts::tr("Quit Tavolen"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, [this] {
        if (m_actions.quit)
            m_actions.quit();
    });
}

void TrayIcon::setLanguage(const QString &code)
{
    storeLanguageChoice(m_settings, code);
    // After the menu has closed: the toast then speaks the new language.
    QTimer::singleShot(0, this, [this] {
        if (m_actions.languageChanged)
            m_actions.languageChanged();
    });
}

} // namespace tavolen::app
