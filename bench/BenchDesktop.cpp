// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BenchDesktop.h"
#include "support/TiedProcess.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>

std::unique_ptr<BenchXvfb> BenchXvfb::startForThisProcess(QSize size, const char *stage)
{
    auto xvfb = start(size);
    if (!xvfb) {
        std::fprintf(stderr, "tavolen-bench %s: Xvfb did not start\n", stage);
        return nullptr;
    }
    qputenv("DISPLAY", xvfb->display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    return xvfb;
}

std::unique_ptr<BenchXvfb> BenchXvfb::start(QSize size)
{
    std::unique_ptr<BenchXvfb> x(new BenchXvfb);
    const QString number = x->m_dir.filePath(QStringLiteral("display"));
    x->m_server.setStandardOutputFile(QProcess::nullDevice());
    x->m_server.setStandardErrorFile(QProcess::nullDevice());
    // The shell execs Xvfb, which keeps the tie.
    tavolen::test::tieToThisProcess(x->m_server);
    x->m_server.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"),
                       QStringLiteral("exec Xvfb -screen 0 %1x%2x24 -nolisten tcp -displayfd 3 3>'%3'")
                           .arg(size.width())
                           .arg(size.height())
                           .arg(number)});
    for (int i = 0; i < 500 && x->m_server.state() != QProcess::NotRunning; ++i) {
        QFile f(number);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray text = f.readAll();
            if (text.endsWith('\n')) {
                x->m_display = QLatin1Char(':') + QString::fromLatin1(text.trimmed());
                return x;
            }
        }
        QThread::msleep(20);
    }
    return nullptr;
}

BenchXvfb::~BenchXvfb()
{
    m_server.terminate();
    m_server.waitForFinished(3000);
}

namespace {

// Smooth gradients, soft blobs and grain: compresses like a photograph,
// unlike flat test colours.
QImage photoLike(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const double u = double(x) / size.width(), v = double(y) / size.height();
            const double wave = std::sin(u * 9.0 + std::cos(v * 7.0) * 2.0) * 0.5 + 0.5;
            const double blob = std::exp(-((u - 0.6) * (u - 0.6) + (v - 0.4) * (v - 0.4)) * 12.0);
            const int grain = int(rng.bounded(24)) - 12;
            line[x] = qRgb(std::clamp(int(60 + 150 * wave * (1 - v) + 40 * blob) + grain, 0, 255),
                           std::clamp(int(90 + 100 * v + 60 * blob) + grain, 0, 255),
                           std::clamp(int(140 + 80 * (1 - wave) * u) + grain, 0, 255));
        }
    }
    return image;
}

class Content final : public QWidget {
public:
    Content() : m_photo(photoLike(QSize(1900, 2160))) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(250, 250, 247));
        p.drawImage(0, 0, m_photo);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(22);
        p.setFont(font);
        p.setPen(QColor(30, 30, 35));
        const QString text = QStringLiteral(
            "Thanks for the invite! I'd love to come, but I might be a little late — work has been hectic "
            "this week. "
            "Save me a seat? 说实话，这周真的太忙了，不过我一定会到的。Let me know if anything changes. ");
        int y = 40;
        for (int i = 0; y < height() - 40; ++i, y += 34)
            p.drawText(QPointF(1940, y), text.mid((i * 17) % 60, 110));
    }

private:
    QImage m_photo;
};

} // namespace

void showBenchContent()
{
    auto *content = new Content;
    content->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    content->setGeometry(QApplication::primaryScreen()->geometry());
    content->show();
    (void)QTest::qWaitForWindowExposed(content, 10000);
    QTest::qWait(300);
}

QString ms(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral("ms");
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void report(const char *stage, double ours, double reference, const char *unit)
{
    std::printf("%s: ours=%.1f%s reference=%.1f%s ratio=%.2f\n", stage, ours, unit, reference, unit,
                reference > 0 ? ours / reference : 0.0);
    std::fflush(stdout);
}

double statusMB(qint64 pid, const char *name)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(qsizetype(qstrlen(name))).trimmed().split(' ').front().toDouble() / 1024.0;
    }
    return 0;
}

double residentMB()
{
    return statusMB(QCoreApplication::applicationPid(), "VmRSS:");
}
