// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/UpdateDialog.h"

#include <QCoreApplication>

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

namespace tavolen::app {

namespace {

// The context translators see this file's texts under.
struct UpdateTexts {
    Q_DECLARE_TR_FUNCTIONS(UpdateTexts)
};

} // namespace

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
            box->addButton(UpdateTexts::tr("Open Download Page"), QMessageBox::AcceptRole);
        QObject::connect(download, &QPushButton::clicked, box,
                         [open = std::move(openUrl), url = available->url] { open(url); });
        box->addButton(UpdateTexts::tr("Later"), QMessageBox::RejectRole);
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
