// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/UpdateDialog.h"

#include "core/L.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

namespace tavolen::app {

void openInBrowser(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

QMessageBox *showUpdateResult(const UpdateResult &result, UrlOpener openUrl, QWidget *parent)
{
    const bool problem = std::holds_alternative<Failed>(result);
    auto *box =
        new QMessageBox(problem ? QMessageBox::Warning : QMessageBox::Information, QStringLiteral("Tavolen"),
                        updateResultText(result), QMessageBox::NoButton, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText); // a reason may quote the feed or the server
    const auto *available = std::get_if<UpdateAvailable>(&result);
    if (available && !available->url.isEmpty()) {
        QPushButton *download =
            box->addButton(L::text(QStringLiteral("Open Download Page"), QStringLiteral("打开下载页面")),
                           QMessageBox::AcceptRole);
        QObject::connect(download, &QPushButton::clicked, box,
                         [open = std::move(openUrl), url = available->url] { open(url); });
        box->addButton(L::text(QStringLiteral("Later"), QStringLiteral("以后再说")), QMessageBox::RejectRole);
    } else {
        box->addButton(QMessageBox::Ok);
    }
    box->open();
    return box;
}

QCoro::Task<> checkForUpdatesInWindow(QNetworkAccessManager &network, QPointer<QWidget> parent,
                                      UrlOpener openUrl)
{
    const UpdateResult result = co_await checkForUpdates(network);
    showUpdateResult(result, std::move(openUrl), parent.data());
}

} // namespace tavolen::app
