#include "api/Network.h"

#include "api/ServiceUrl.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <chrono>

namespace tavolen::api {

namespace {
constexpr std::chrono::milliseconds kWarmUpTimeout{5000};
}

QNetworkAccessManager &network()
{
    // Parented to the application so it goes before the event loop does.
    static QNetworkAccessManager *manager = [] {
        auto *m = new QNetworkAccessManager(QCoreApplication::instance());
        m->setCache(nullptr);
        return m;
    }();
    return *manager;
}

void warmUp()
{
    QNetworkRequest request(endpoint(QString::fromLatin1(kHealthPath)));
    request.setTransferTimeout(int(kWarmUpTimeout.count()));
    // It carries no credentials, but it has no business elsewhere either.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    QNetworkReply *reply = network().get(request);
    // The answer, its status and any failure are of no interest.
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}

} // namespace tavolen::api
