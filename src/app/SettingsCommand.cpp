// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/SettingsCommand.h"

#include "app/SettingsWindow.h"
#include "app/SingleInstance.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QTextStream>

namespace tavolen::app {

int runSettingsCommand(const QStringList &arguments, SettingsStore &settings, InterfaceLanguage &language)
{
    const QStringList pages{QStringLiteral("analysis"), QStringLiteral("service"), QStringLiteral("general")};
    SettingsWindow::Page page = SettingsWindow::Page::Analysis;
    if (arguments.size() == 2 && arguments[0] == QLatin1String("--page") && pages.contains(arguments[1])) {
        page = SettingsWindow::Page(pages.indexOf(arguments[1]));
    } else if (!arguments.isEmpty()) {
        QTextStream(stderr) << "Usage: tavolen settings [--page analysis|service|general]\n";
        return 2;
    }
    // The running Tavolen owns the hot key and the panel: its window knows both.
    if (page == SettingsWindow::Page::Analysis && SingleInstance::send(SingleInstance::Request::ShowSettings))
        return 0;
    QNetworkAccessManager network;
    network.setCache(nullptr);
    SettingsWindow window(
        {.settings = settings, .network = network, .languageChanged = [&language] { language.apply(); }});
    window.showPage(page);
    QApplication::setQuitOnLastWindowClosed(true);
    return QApplication::exec();
}

} // namespace tavolen::app
