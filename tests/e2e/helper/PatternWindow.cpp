// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A foreign application window for the end-to-end tests: four flat colour
// quadrants at a requested place. Prints its X window id once it has painted.
//
//   tavolen-e2e-pattern X Y WIDTH HEIGHT TOPLEFT TOPRIGHT BOTTOMLEFT BOTTOMRIGHT [TITLE]

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class PatternWindow final : public QWidget {
public:
    explicit PatternWindow(QList<QColor> colours) : m_colours(std::move(colours))
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const int w = width() / 2;
        const int h = height() / 2;
        p.fillRect(0, 0, w, h, m_colours[0]);
        p.fillRect(w, 0, width() - w, h, m_colours[1]);
        p.fillRect(0, h, w, height() - h, m_colours[2]);
        p.fillRect(w, h, width() - w, height() - h, m_colours[3]);
        if (!m_announced) {
            m_announced = true;
            QTimer::singleShot(0, this, [this] {
                std::printf("%llu\n", static_cast<unsigned long long>(winId()));
                std::fflush(stdout);
            });
        }
    }

private:
    QList<QColor> m_colours;
    bool m_announced = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 9)
        return 2;
    QList<QColor> colours;
    for (int i = 5; i < 9; ++i)
        colours.append(QColor(args[i]));
    PatternWindow window(colours);
    window.setWindowTitle(args.value(9, QStringLiteral("pattern")));
    window.setGeometry(args[1].toInt(), args[2].toInt(), args[3].toInt(), args[4].toInt());
    window.show();
    return app.exec();
}
