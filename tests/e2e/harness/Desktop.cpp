#include "e2e/harness/Desktop.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTest>

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
    const QByteArray extents =
        xclient(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")});
    const QRegularExpression four(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    const auto e = four.match(QString::fromLatin1(extents));
    if (!e.hasMatch())
        return false; // not managed yet
    const QString info =
        QString::fromLatin1(xclient(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}));
    auto field = [&](const char *name) {
        const QRegularExpression re(QStringLiteral("%1:\\s+(-?\\d+)").arg(QLatin1String(name)));
        return re.match(info).captured(1).toInt();
    };
    m_client = QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                     field("Height"));
    m_frame = m_client.adjusted(-e.captured(1).toInt(), -e.captured(3).toInt(), e.captured(2).toInt(),
                                e.captured(4).toInt());
    return m_client.isValid();
}

std::optional<QColor> ForeignWindow::colourAt(QPoint native) const
{
    if (!m_client.contains(native))
        return std::nullopt;
    const QPoint p = native - m_client.topLeft();
    const bool right = p.x() >= m_client.width() / 2;
    const bool bottom = p.y() >= m_client.height() / 2;
    return m_quadrants[(bottom ? 2 : 0) + (right ? 1 : 0)];
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

std::optional<quint32> activeWindow()
{
    const QString out = QString::fromLatin1(
        xclient(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")}));
    const auto m = QRegularExpression(QStringLiteral("window id # (0x[0-9a-f]+)")).match(out);
    if (!m.hasMatch())
        return std::nullopt;
    bool ok = false;
    const quint32 id = m.captured(1).toUInt(&ok, 16);
    return ok && id ? std::optional(id) : std::nullopt;
}

bool sameColour(QColor actual, QColor expected, int tolerance)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

} // namespace tavolen::e2e
