// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/GeneralPage.h"

#include "app/AutostartCommand.h"
#include "app/LanguageChoices.h"
#include "core/Settings.h"
#include "platform/GlobalHotKey.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QTimer>

namespace tavolen::app {

namespace {

struct SettingsTexts {
    Q_DECLARE_TR_FUNCTIONS(SettingsTexts)
};

} // namespace

GeneralPage::GeneralPage(SettingsStore &settings, const platform::GlobalHotKey *hotKey,
                         std::function<void()> languageChanged, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_hotKey(hotKey), m_languageChanged(std::move(languageChanged)),
      m_languageLabel(new QLabel(this)), m_language(new QComboBox(this)), m_sound(new QCheckBox(this)),
      m_login(new QCheckBox(this)), m_loginProblem(new QLabel(this)), m_hotKeyLabel(new QLabel(this)),
      m_hotKeyState(new QLabel(this))
{
    auto *form = new QFormLayout(this);
    m_languageLabel->setBuddy(m_language);
    for (const LanguageChoice &choice : languageChoices())
        m_language->addItem(choice.name, choice.code);
    const QString stored = storedLanguageChoice(settings);
    m_language->setCurrentIndex(std::max(0, m_language->findData(stored)));
    form->addRow(m_languageLabel, m_language);
    m_sound->setChecked(keys::snapSound.value(settings));
    form->addRow(m_sound);
    m_login->setChecked(startsAtLogin());
    form->addRow(m_login);
    m_loginProblem->setWordWrap(true);
    m_loginProblem->hide();
    form->addRow(m_loginProblem);
    m_hotKeyState->setWordWrap(true);
    m_hotKeyState->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(m_hotKeyLabel, m_hotKeyState);

    connect(m_language, &QComboBox::activated, this, &GeneralPage::chooseLanguage);
    connect(m_sound, &QCheckBox::toggled, this, [this](bool on) { keys::snapSound.set(m_settings, on); });
    connect(m_login, &QCheckBox::toggled, this, [this](bool on) {
        const QString problem = setAutostart(on);
        m_loginProblem->setText(problem);
        m_loginProblem->setVisible(!problem.isEmpty());
        if (!problem.isEmpty()) {
            const QSignalBlocker quiet(m_login);
            m_login->setChecked(startsAtLogin());
        }
    });
    retranslate();
}

void GeneralPage::chooseLanguage(int index)
{
    storeLanguageChoice(m_settings, m_language->itemData(index).toString());
    // After the list has closed: the whole window words itself again.
    QTimer::singleShot(0, this, [this] {
        if (m_languageChanged)
            m_languageChanged();
    });
}

void GeneralPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void GeneralPage::retranslate()
{
    m_languageLabel->setText(SettingsTexts::tr("&Language:"));
    // "System" is the one name in the interface language.
    m_language->setItemText(0, languageChoices().front().name);
    m_sound->setText(SettingsTexts::tr("Play a &sound on capture"));
    m_login->setText(SettingsTexts::tr("Start Tavolen when I &log in"));
    m_hotKeyLabel->setText(SettingsTexts::tr("Hot key:"));
    if (m_hotKey && m_hotKey->isBound())
        m_hotKeyState->setText(SettingsTexts::tr("Alt+Shift+S captures from any window."));
    else
        m_hotKeyState->setText(SettingsTexts::tr("Alt+Shift+S is not available to Tavolen here. Bind the "
                                                 "command “tavolen capture” to a key in your "
                                                 "desktop's keyboard settings (GNOME: Settings → Keyboard → "
                                                 "Custom Shortcuts; KDE: System Settings → "
                                                 "Shortcuts)."));
}

} // namespace tavolen::app
