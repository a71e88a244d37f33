// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

namespace tavolen::ui {
class TextBlock;
}

namespace tavolen::app {

// The onboarding's glass card: the one permission Tavolen needs, why it is
// harmless, and a status line that says whether it has arrived.
class PermissionCard final : public QWidget {
public:
    explicit PermissionCard(QWidget *parent = nullptr);

    void setGranted(bool granted);
    bool granted() const { return m_granted; }
    QString statusText() const;
    // Words the card again in the interface language of the moment.
    void retranslate();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_granted = false;
    QWidget *m_dot;
    ui::TextBlock *m_title;
    ui::TextBlock *m_text;
    ui::TextBlock *m_status;
};

} // namespace tavolen::app
