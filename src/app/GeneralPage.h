// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;

namespace tavolen::platform {
class GlobalHotKey;
}

namespace tavolen::app {

// Settings → General: the interface language, the capture sound, starting
// at login, and the hot key as it is bound.
class GeneralPage final : public QWidget {
public:
    GeneralPage(SettingsStore &settings, const platform::GlobalHotKey *hotKey,
                std::function<void()> languageChanged, QWidget *parent = nullptr);

    QComboBox &language() { return *m_language; }
    QCheckBox &sound() { return *m_sound; }
    QCheckBox &startAtLogin() { return *m_login; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void chooseLanguage(int index);

    SettingsStore &m_settings;
    const platform::GlobalHotKey *m_hotKey;
    std::function<void()> m_languageChanged;
    QLabel *m_languageLabel;
    QComboBox *m_language;
    QCheckBox *m_sound;
    QCheckBox *m_login;
    QLabel *m_loginProblem;
    QLabel *m_hotKeyLabel;
    QLabel *m_hotKeyState;
};

} // namespace tavolen::app
