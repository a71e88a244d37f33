// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AnalyzeCommand.h"
#include "app/AppShell.h"
#include "app/AutostartCommand.h"
#include "app/CaptureCommand.h"
#include "app/ModelCommand.h"
#include "app/SettingsCommand.h"
#include "app/ShellGallery.h"
#include "app/SingleInstance.h"
#include "core/InterfaceLanguage.h"
#include "core/Log.h"
#include "panel/Gallery.h"
#include "platform/IniSettingsStore.h"
#include "platform/SessionKind.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcessEnvironment>
#include <QTextStream>

#include <cstring>

namespace {

// The context translators see this file's texts under.
struct MainTexts {
    Q_DECLARE_TR_FUNCTIONS(MainTexts)
};

} // namespace

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
        return app::runAnalyzeCommand(app.arguments().mid(2), settingsStore);
    }

    if (argc >= 2 && std::strcmp(argv[1], "autostart") == 0) {
        QCoreApplication app(argc, argv);
        platform::IniSettingsStore settingsStore;
        InterfaceLanguage language(settingsStore);
        language.apply();
        return app::runAutostartCommand(app.arguments().mid(2));
    }

    if (argc >= 2 && std::strcmp(argv[1], "model") == 0) {
        QCoreApplication app(argc, argv);
        platform::IniSettingsStore settingsStore;
        InterfaceLanguage language(settingsStore);
        language.apply();
        return app::runModelCommand(app.arguments().mid(2), settingsStore);
    }

    // Renders every panel state to PNGs; the same pictures with or without a display.
    if (argc >= 3 && std::strcmp(argv[1], "gallery") == 0) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        const QString error = panel::writeGallery(QString::fromLocal8Bit(argv[2]), app::shellGalleryEntries);
        if (!error.isEmpty())
            QTextStream(stderr) << error << '\n';
        return error.isEmpty() ? 0 : 1;
    }

    if (!platform::hasGraphicalSession(QProcessEnvironment::systemEnvironment())) {
        QCoreApplication app(argc, argv);
        platform::IniSettingsStore settingsStore;
        InterfaceLanguage language(settingsStore);
        language.apply();
        QTextStream(stderr) << MainTexts::tr(
                                   "No graphical session found (DISPLAY and WAYLAND_DISPLAY are unset)")
                            << '\n';
        return 1;
    }
    platform::chooseWindowSystem();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavolen"));
    QApplication::setQuitOnLastWindowClosed(false);
    platform::IniSettingsStore settingsStore;
    InterfaceLanguage language(settingsStore);
    language.apply();
    if (argc >= 2 && std::strcmp(argv[1], "capture") == 0)
        return app::runCaptureCommand(settingsStore);
    if (argc >= 2 && std::strcmp(argv[1], "settings") == 0)
        return app::runSettingsCommand(app.arguments().mid(2), settingsStore, language);

    // One Tavolen a session: a second launch hands over to the first. One
    // that the first started itself (a relaunch) waits for it to leave.
    const bool relaunched = app.arguments().contains(QStringLiteral("--relaunched"));
    app::SingleInstance instance;
    if (!instance.claim(relaunched ? std::chrono::seconds(5) : std::chrono::seconds(0))) {
        qCInfo(lcApp) << "Tavolen already runs: it is asked to say it is ready";
        app::SingleInstance::send(app::SingleInstance::Request::ShowReady);
        return 0;
    }
    app::AppShell shell(instance, settingsStore, language);
    shell.launch();
    return app.exec();
}
