// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/UpdateCheck.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <qcoro/qcorotask.h>

#include <functional>

class QMessageBox;
class QNetworkAccessManager;

namespace tavolen::app {

using UrlOpener = std::function<void(const QUrl &)>;

// Hands a URL to the desktop's browser.
void openInBrowser(const QUrl &url);

// Shows `result` in a small window that deletes itself when closed; for a
// newer release with an address, a button hands that address to `openUrl`.
QMessageBox *showUpdateResult(const UpdateResult &result, UrlOpener openUrl, QWidget *parent = nullptr);

// Checks this build's feed, then shows the result; nothing waits meanwhile.
// A parent gone by then leaves the window without one.
QCoro::Task<> checkForUpdatesInWindow(QNetworkAccessManager &network, QPointer<QWidget> parent = {},
                                      UrlOpener openUrl = openInBrowser);

} // namespace tavolen::app
