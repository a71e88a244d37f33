// Starts the X session named by --x-session before the QApplication exists,
// so that this process, the app under test, sees exactly those screens.
#include "e2e/harness/XSession.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

using tavolen::e2e::XSession;

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QByteArray name = "single";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--x-session=", 12) == 0)
            name = QByteArray(argv[i] + 12);
    }

    const QSize oneScreen(1280, 1024);
    const QList<XSession::Head> twoHeads{{QSize(1920, 1080), QPoint(0, 0)},
                                         {QSize(1280, 1024), QPoint(1920, 0)}};
    QString error;
    std::unique_ptr<XSession> session;
    if (name == "single" || name == "single-scaled")
        session = XSession::startXvfb(oneScreen, &error);
    else if (name == "dual" || name == "dual-second-scaled")
        session = XSession::startDummy(twoHeads, &error);
    else
        error = QStringLiteral("unknown --x-session");
    if (!session) {
        std::fprintf(stderr, "%s: %s\n", name.constData(), qPrintable(error));
        return 1;
    }

    qputenv("DISPLAY", session->display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (name == "single-scaled")
        qputenv("QT_SCREEN_SCALE_FACTORS", "2");
    else if (name == "dual-second-scaled")
        qputenv("QT_SCREEN_SCALE_FACTORS", "DUMMY0=1;DUMMY1=2");
    else
        qunsetenv("QT_SCREEN_SCALE_FACTORS");

    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result;
}
