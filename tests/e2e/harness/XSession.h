#pragma once

#include <QList>
#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace tavolen::e2e {

// An X server of the test's own, on a display number the server picks itself
// (-displayfd), with openbox as its window manager. Stopped on destruction.
class XSession {
public:
    struct Head {
        QSize size;
        QPoint position;
    };

    // Xvfb with one screen. Xvfb shows Qt only one screen, whatever its options.
    static std::unique_ptr<XSession> startXvfb(QSize size, QString *error);
    // Xorg with the dummy driver, one monitor per head, placed with xrandr.
    static std::unique_ptr<XSession> startDummy(const QList<Head> &heads, QString *error);

    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // ":N"
    QString display() const { return m_display; }

    // Runs an X client (xrandr, xprop, ...) on this display and returns what
    // it printed; empty when it failed. Blocks; usable before the QApplication.
    QByteArray run(const QString &program, const QStringList &arguments, int timeoutMs = 10000) const;

private:
    XSession() = default;
    bool startServer(const QString &command, QString *error);
    bool startWindowManager(QString *error);
    bool placeHeads(const QList<Head> &heads, QString *error);

    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_windowManager;
    QString m_display;
};

} // namespace tavolen::e2e
