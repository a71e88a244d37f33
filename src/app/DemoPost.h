// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

namespace tavolen::app {

// The sample social-media post of the first-run demonstration: an author
// with avatar, name and time above one message bubble. Always light on
// white and always in English, so every user's first analysis reads alike.
class DemoPost final : public QWidget {
public:
    explicit DemoPost(QWidget *parent = nullptr);

    // The post at its fixed width, as high as its content.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *m_avatar;
    QWidget *m_bubble;
};

} // namespace tavolen::app
