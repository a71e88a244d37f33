// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/Upload.h"

#include "api/ServiceUrl.h"

#include <QNetworkAccessManager>

#include <algorithm>
#include <cstring>

namespace tavolen::api {

namespace {

// The upload as a device that can be read once. When a connection closes
// before an answer, Qt sends the request again on a new one if it can rewind
// the body; refusing that keeps every call to a single attempt. It must stay
// a random-access device: a sequential one Qt copies into a buffer of its
// own, which it can rewind.
class OneShotBody final : public QIODevice {
public:
    explicit OneShotBody(QByteArray bytes) : m_bytes(std::move(bytes))
    {
        // Unbuffered, so that pos() is where readData() reads.
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool reset() override { return false; }
    qint64 size() const override { return m_bytes.size(); }

protected:
    qint64 readData(char *data, qint64 max) override
    {
        const qint64 from = pos();
        const qint64 n = std::clamp<qint64>(m_bytes.size() - from, 0, max);
        std::memcpy(data, m_bytes.constData() + from, size_t(n));
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
};

bool isFollowedRedirect(int status)
{
    return status == 301 || status == 302 || status == 307 || status == 308;
}

// Where a same-origin redirect leads, or nullopt when the answer is not one.
std::optional<QUrl> sameOriginTarget(const ReplyWatch &watch, const QUrl &from)
{
    const std::optional<int> status = watch.status();
    if (!status || !isFollowedRedirect(*status) || watch.transportFailure())
        return std::nullopt;
    const QByteArray location = watch.reply()->rawHeader("Location");
    if (location.isEmpty())
        return std::nullopt;
    QUrl target = from.resolved(QUrl::fromEncoded(location, QUrl::StrictMode));
    if (!target.isValid() || !sameOrigin(target, from))
        return std::nullopt;
    // Credentials in a Location would be kept for the origin and offered on
    // a later challenge; the service has no business handing us any.
    target.setUserInfo(QString());
    return target;
}

} // namespace

QCoro::Task<std::unique_ptr<ReplyWatch>> sendUpload(QNetworkAccessManager &network, UploadRequest upload,
                                                    qint64 readAhead, std::chrono::milliseconds total)
{
    const QDeadlineTimer deadline(total);
    QNetworkRequest request = upload.request;
    for (int redirects = 0;; ++redirects) {
        auto *body = new OneShotBody(upload.body);
        QNetworkReply *reply = network.post(request, body);
        body->setParent(reply);
        auto watch = std::make_unique<ReplyWatch>(reply, readAhead, deadline);
        while (!watch->status() && !watch->ended())
            co_await watch->changed();
        const std::optional<QUrl> next = sameOriginTarget(*watch, request.url());
        if (!next || redirects == kMaxRedirects)
            co_return watch;
        request.setUrl(*next);
    }
}

} // namespace tavolen::api
