#include "app/AnalyzeCommand.h"
#include "app/CaptureCommand.h"
#include "app/CaptureStack.h"
#include "core/L.h"
#include "core/Settings.h"
#include "panel/Gallery.h"
#include "platform/IniSettingsStore.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstring>

int main(int argc, char *argv[])
{
    using namespace tavolen;

    // The command-line tools work without a display.
    if (argc >= 2 && std::strcmp(argv[1], "analyze") == 0) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY") &&
            !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        platform::IniSettingsStore settingsStore;
        installSettings(&settingsStore);
        return app::runAnalyzeCommand(app.arguments().mid(2));
    }

    // Renders every panel state to PNGs; the same pictures with or without a display.
    if (argc >= 3 && std::strcmp(argv[1], "gallery") == 0) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        const QString error = panel::writeGallery(QString::fromLocal8Bit(argv[2]));
        if (!error.isEmpty())
            QTextStream(stderr) << error << '\n';
        return error.isEmpty() ? 0 : 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavolen"));
    QApplication::setQuitOnLastWindowClosed(false);
    platform::IniSettingsStore settingsStore;
    installSettings(&settingsStore);
    if (argc >= 2 && std::strcmp(argv[1], "capture") == 0)
        return app::runCaptureCommand();

    // Nothing starts a run yet; the hot key and the tray item will. Say so,
    // rather than leave whoever started us looking at a silent terminal.
    QTextStream(stderr) << L::text(
        QStringLiteral("Tavolen is running. The tray icon and Alt+Shift+S are not here yet; "
                       "run \"tavolen capture\" to read something on screen.\n"),
        QStringLiteral("Tavolen 已在运行。托盘图标和 Alt+Shift+S 尚未提供；"
                       "请运行 \"tavolen capture\" 来解读屏幕上的内容。\n"));
    app::CaptureStack stack;
    return app.exec();
}
