// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <optional>

namespace tavolen::ui {
class CapsuleButton;
class TextBlock;
} // namespace tavolen::ui

namespace tavolen::app {

class PermissionCard;

// The first-run window: what Tavolen does in two sentences, the one
// permission it needs with a live status line, and a button that asks for
// it. A normal titled window of fixed size, draggable by its background.
class OnboardingView final : public QWidget {
public:
    // `openSettings` is the button's action; `isGranted` is asked every
    // `refresh` while the window is shown, for the status line only.
    OnboardingView(std::function<void()> openSettings, std::function<bool()> isGranted,
                   std::chrono::milliseconds refresh);

    PermissionCard *card() const { return m_card; }
    ui::CapsuleButton *button() const { return m_button; }

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void retranslate();

    std::function<bool()> m_isGranted;
    QTimer m_refresh;
    ui::TextBlock *m_headline;
    ui::TextBlock *m_intro;
    PermissionCard *m_card;
    ui::CapsuleButton *m_button;
    std::optional<QPoint> m_dragFrom;
};

} // namespace tavolen::app
