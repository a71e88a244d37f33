// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A foreign application window for the end-to-end tests: four flat colour
// quadrants at a requested place. Prints its X window id once it has painted.
//
// With TEXT, black lines of it fill the window over the quadrants, as a page of text does.
//
//   tavolen-e2e-pattern X Y WIDTH HEIGHT TOPLEFT TOPRIGHT BOTTOMLEFT BOTTOMRIGHT [TITLE [TEXT]]

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class PatternWindow final : public QWidget {
public:
    PatternWindow(QList<QColor> colours, QString text)
        : m_colours(std::move(colours)), m_text(std::move(text))
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
        if (!m_text.isEmpty()) {
            p.setPen(Qt::black);
            for (int y = p.fontMetrics().ascent(); y < height(); y += p.fontMetrics().height())
                p.drawText(
                    0, y,
                    m_text.repeated(1 + width() / std::max(1, p.fontMetrics().horizontalAdvance(m_text))));
        }
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
    QString m_text;
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
    PatternWindow window(colours, args.value(10));
    window.setWindowTitle(args.value(9, QStringLiteral("pattern")));
    window.setGeometry(args[1].toInt(), args[2].toInt(), args[3].toInt(), args[4].toInt());
    window.show();
    return app.exec();
}
