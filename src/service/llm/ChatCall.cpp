// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/ChatCall.h"

#include "core/Heartbeat.h"
#include "service/llm/LlmFailures.h"

#include <httplib.h>

namespace tavolen::service::llm {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Enough of an error answer to quote the endpoint's message.
constexpr std::size_t kErrorBodyBytes = 16 * 1024;
// How often a stalled call looks at the cancel flag and the deadline.
constexpr auto kWatchInterval = 20ms;

QString seconds(std::chrono::milliseconds d)
{
    return QString::number(double(d.count()) / 1000.0, 'g', 3) + QStringLiteral(" s");
}

// Stops the client's transfer from a thread of its own once the call is
// cancelled or past its deadline: the worker may be blocked in a read that
// no content callback would ever interrupt.
class Watchdog {
public:
    Watchdog(httplib::Client &client, const std::atomic<bool> &cancelled, Clock::time_point deadline)
        : m_beat(kWatchInterval, [this, &client, &cancelled, deadline] {
              const bool late = Clock::now() >= deadline;
              if (cancelled.load() || late) {
                  m_late = late && !cancelled.load();
                  // Calling again is harmless and covers a stop that came
                  // before the request was under way.
                  client.stop();
              }
          })
    {}
    bool pastDeadline() const { return m_late; }

private:
    std::atomic<bool> m_late{false};
    Heartbeat m_beat; // last: stopped before the flag goes
};

// Why a transfer without a usable status ended.
EngineFailure transportFailure(httplib::Error error, bool headSeen, Clock::duration sinceLastByte,
                               const ChatCallRequest &request)
{
    const QString origin = QString::fromStdString(request.endpoint.origin);
    switch (error) {
    case httplib::Error::Connection:
        return llmFailure("model_unreachable", QStringLiteral("could not connect to %1").arg(origin));
    case httplib::Error::ConnectionTimeout:
        return llmFailure(
            "model_timeout",
            QStringLiteral("no connection to %1 within %2").arg(origin, seconds(request.timeouts.connect)));
    case httplib::Error::SSLConnection:
    case httplib::Error::SSLLoadingCerts:
    case httplib::Error::SSLServerVerification:
        return llmFailure("model_unreachable",
                          QStringLiteral("TLS with %1 failed: %2")
                              .arg(origin, QString::fromStdString(httplib::to_string(error))));
    case httplib::Error::Read:
        if (sinceLastByte + 50ms >= request.timeouts.idle)
            return llmFailure(
                "model_timeout",
                QStringLiteral("the model endpoint sent nothing for %1").arg(seconds(request.timeouts.idle)));
        return llmFailure("model_unavailable",
                          headSeen
                              ? QStringLiteral("the model endpoint's stream broke off")
                              : QStringLiteral("the model endpoint closed the connection without an answer"));
    default:
        return llmFailure("model_unavailable", QStringLiteral("the call to the model endpoint failed: %1")
                                                   .arg(QString::fromStdString(httplib::to_string(error))));
    }
}

} // namespace

std::optional<EngineFailure> runChatCall(const ChatCallRequest &request, const ChatBodySink &sink,
                                         const std::atomic<bool> &cancelled)
{
    const auto start = Clock::now();
    httplib::Client client(request.endpoint.origin);
    if (!client.is_valid())
        return llmFailure(
            "model_misconfigured",
            QStringLiteral("cannot address %1").arg(QString::fromStdString(request.endpoint.origin)));
    client.set_connection_timeout(request.timeouts.connect);
    client.set_read_timeout(request.timeouts.idle);
    client.set_write_timeout(request.timeouts.idle);
    client.set_keep_alive(false);
    client.set_follow_location(false);
    if (!request.apiKey.empty())
        client.set_bearer_token_auth(request.apiKey);

    int status = 0;
    std::string redirect;
    std::string errorBody;
    std::size_t received = 0;
    bool tooLarge = false;
    bool sinkHadEnough = false;
    auto lastByte = start;

    httplib::Request req;
    req.method = "POST";
    req.path = request.endpoint.target;
    req.body = request.body;
    req.set_header("Content-Type", "application/json");
    req.set_header("Accept", "text/event-stream");
    // Compression would only make proxies hold tokens back.
    req.set_header("Accept-Encoding", "identity");
    req.response_handler = [&](const httplib::Response &response) {
        status = response.status;
        redirect = response.get_header_value("Location").substr(0, 200);
        return !cancelled.load();
    };
    req.content_receiver = [&](const char *data, size_t size, uint64_t, uint64_t) {
        lastByte = Clock::now();
        if (cancelled.load())
            return false;
        if (status != 200) {
            errorBody.append(data, std::min(size, kErrorBodyBytes - errorBody.size()));
            return errorBody.size() < kErrorBodyBytes;
        }
        received += size;
        if (received > request.maxStreamBytes) {
            tooLarge = true;
            return false;
        }
        if (!sink(std::string_view(data, size))) {
            sinkHadEnough = true;
            return false;
        }
        return true;
    };

    httplib::Response response;
    httplib::Error error = httplib::Error::Success;
    bool pastDeadline = false;
    if (!cancelled.load()) {
        Watchdog watchdog(client, cancelled, start + request.timeouts.total);
        client.send(req, response, error);
        pastDeadline = watchdog.pastDeadline();
    }

    if (cancelled.load())
        return llmFailure("cancelled", QStringLiteral("the client went away"));
    if (pastDeadline)
        return llmFailure(
            "model_timeout",
            QStringLiteral("the model took longer than %1 in all").arg(seconds(request.timeouts.total)));
    if (tooLarge)
        return llmFailure(
            "model_output_too_large",
            QStringLiteral("the model endpoint streamed more than %1 bytes").arg(request.maxStreamBytes));
    if (sinkHadEnough)
        return std::nullopt;
    // Typically http:// where the endpoint wants https://; the request is
    // not sent again, since the key would follow it to another place.
    if (status >= 300 && status < 400)
        return llmFailure("model_misconfigured",
                          QStringLiteral("the model endpoint answered HTTP %1, moved to %2")
                              .arg(status)
                              .arg(QString::fromStdString(redirect)));
    if (status > 0 && status != 200)
        return statusFailure(status, errorBody);
    if (error != httplib::Error::Success)
        return transportFailure(error, status == 200, Clock::now() - lastByte, request);
    return std::nullopt;
}

} // namespace tavolen::service::llm
