// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reference for tavolen-bench idle: the least a Qt Widgets program with
// a tray icon can be, built from the same Qt. With --note it also shows one
// line of text for a moment at start, as an app that says it is ready must;
// that loads the font machinery the bare program never touches.

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter(&pixmap).fillRect(4, 4, 14, 14, QColor(125, 108, 237));
    QSystemTrayIcon icon{QIcon(pixmap)};
    icon.show();
    if (app.arguments().contains(QStringLiteral("--note"))) {
        auto *note = new QLabel(QStringLiteral("Ready · press Alt+Shift+S"), nullptr,
                                Qt::ToolTip | Qt::FramelessWindowHint);
        note->show();
        QTimer::singleShot(1500, note, &QLabel::deleteLater);
    }
    return app.exec();
}
