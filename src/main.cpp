#include "app/AnalyzeCommand.h"
#include "core/Services.h"
#include "platform/IniSettingsStore.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstring>

int main(int argc, char *argv[])
{
    using namespace tavolen;

    // The command-line tools work without a display.
    if (argc >= 2 && std::strcmp(argv[1], "analyze") == 0) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY")
            && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        platform::IniSettingsStore settingsStore;
        installSettings(&settingsStore);
        return app::runAnalyzeCommand(app.arguments().mid(2));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavolen"));
    QApplication::setQuitOnLastWindowClosed(false);
    platform::IniSettingsStore settingsStore;
    installSettings(&settingsStore);
    return app.exec();
}
