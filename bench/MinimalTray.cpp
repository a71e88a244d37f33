// The reference for tavolen-bench idle: the least a Qt Widgets program with
// a tray icon can be, built from the same Qt.

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter(&pixmap).fillRect(4, 4, 14, 14, QColor(125, 108, 237));
    QSystemTrayIcon icon{QIcon(pixmap)};
    icon.show();
    return app.exec();
}
