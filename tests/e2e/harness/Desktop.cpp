#include "e2e/harness/Desktop.h"

#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace tavolen::e2e {

void xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000))
        process.kill();
}

QByteArray xclient(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished(10000);
    return process.readAllStandardOutput();
}

void click(QPoint at)
{
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

void drag(QPoint from, QPoint to)
{
    const QPoint mid = (from + to) / 2;
    QStringList steps{"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"};
    for (const QPoint p : {mid, to})
        steps << "mousemove" << QString::number(p.x()) << QString::number(p.y());
    xdotool(steps << "mouseup"
                  << "1");
}

std::optional<quint32> activeWindow()
{
    const QString out = QString::fromLatin1(xclient("xprop", {"-root", "_NET_ACTIVE_WINDOW"}));
    const auto m = QRegularExpression(QStringLiteral("window id # (0x[0-9a-f]+)")).match(out);
    const quint32 id = m.hasMatch() ? m.captured(1).toUInt(nullptr, 16) : 0;
    return id ? std::optional(id) : std::nullopt;
}

std::unique_ptr<ForeignWindow> ForeignWindow::open(QRect where, QList<QColor> quadrants)
{
    std::unique_ptr<ForeignWindow> w(new ForeignWindow);
    w->m_quadrants = quadrants;
    // A foreign application in every respect, unscaled whatever this process uses.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_SCREEN_SCALE_FACTORS"));
    w->m_process.setProcessEnvironment(env);
    w->m_process.setStandardErrorFile(QProcess::nullDevice());
    QStringList args{QString::number(where.x()), QString::number(where.y()), QString::number(where.width()),
                     QString::number(where.height())};
    for (const QColor &c : quadrants)
        args << c.name();
    w->m_process.start(QStringLiteral(TAVOLEN_PATTERN_HELPER), args);
    if (!QTest::qWaitFor([&] { return w->m_process.canReadLine(); }, 10000))
        return nullptr;
    w->m_id = w->m_process.readLine().trimmed().toUInt();
    if (!w->m_id || !QTest::qWaitFor([&] { return w->readGeometry(); }, 10000))
        return nullptr;
    return w;
}

ForeignWindow::~ForeignWindow()
{
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished(3000);
}

bool ForeignWindow::readGeometry()
{
    const QString id = QString::number(m_id);
    const auto e = QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"))
                       .match(QString::fromLatin1(xclient("xprop", {"-id", id, "_NET_FRAME_EXTENTS"})));
    if (!e.hasMatch())
        return false; // not managed yet
    const QString info = QString::fromLatin1(xclient("xwininfo", {"-id", id}));
    auto field = [&](const char *name) {
        return QRegularExpression(QStringLiteral("%1:\\s+(-?\\d+)").arg(QLatin1String(name)))
            .match(info)
            .captured(1)
            .toInt();
    };
    m_client = QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                     field("Height"));
    m_frame = m_client.adjusted(-e.captured(1).toInt(), -e.captured(3).toInt(), e.captured(2).toInt(),
                                e.captured(4).toInt());
    return m_client.isValid();
}

QList<QPoint> ForeignWindow::quadrantCentres() const
{
    const int qx = m_client.width() / 4;
    const int qy = m_client.height() / 4;
    const QPoint o = m_client.topLeft();
    return {o + QPoint(qx, qy), o + QPoint(3 * qx, qy), o + QPoint(qx, 3 * qy), o + QPoint(3 * qx, 3 * qy)};
}

void ForeignWindow::raise()
{
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(m_id)});
}

int ForeignWindow::expectShownIn(const QImage &jpeg, QPoint origin) const
{
    int compared = 0;
    const QList<QPoint> centres = quadrantCentres();
    for (qsizetype i = 0; i < centres.size(); ++i) {
        const QPoint inJpeg = centres[i] - origin;
        if (!jpeg.rect().contains(inJpeg))
            continue;
        ++compared;
        const QColor actual = jpeg.pixelColor(inJpeg);
        const QColor painted = m_quadrants[i];
        const int off =
            std::max({std::abs(actual.red() - painted.red()), std::abs(actual.green() - painted.green()),
                      std::abs(actual.blue() - painted.blue())});
        EXPECT_LE(off, 24) << "at " << centres[i].x() << "," << centres[i].y() << ": got "
                           << actual.name().toStdString() << ", painted " << painted.name().toStdString();
    }
    return compared;
}

} // namespace tavolen::e2e
