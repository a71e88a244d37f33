// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/HttpService.h"

#include "core/Heartbeat.h"
#include "protocol/Encoding.h"
#include "protocol/Endpoints.h"
#include "service/AnalysisRunner.h"
#include "service/RequestHeaders.h"
#include "service/UploadForm.h"

#include <httplib.h>

#include <csignal>
#include <mutex>
#include <optional>

#include <sys/socket.h>

namespace tavolen::service {

namespace {

using Clock = std::chrono::steady_clock;

// httplib runs the routing, the handler, a streamed body's provider and the
// logger of one request on one worker thread, one after the other: what the
// log line needs is noted here along the way.
struct RequestNotes {
    std::optional<Clock::time_point> started;
    QString requestId;
    QString error;
    QString detail;
};
thread_local RequestNotes t_notes;

QString header(const httplib::Request &req, const char *name)
{
    return QString::fromUtf8(req.get_header_value(name)).left(200);
}

void sendJson(httplib::Response &res, int status, const QByteArray &json)
{
    res.status = status;
    res.set_content(json.constData(), std::size_t(json.size()), "application/json; charset=utf-8");
}

// What the request's log line says of its failure.
void noteFailure(const ServiceError &e)
{
    t_notes.error = e.code;
    t_notes.detail = e.detail;
}

void sendError(httplib::Response &res, const ServiceError &e, const QString &requestId)
{
    noteFailure(e);
    const std::optional<QString> id = requestId.isEmpty() ? std::nullopt : std::optional(requestId);
    sendJson(res, e.status, protocol::encodeAPIErrorEnvelope({id, e.apiError()}));
}

QByteArray eventLines(const char *event, const QByteArray &data)
{
    return QByteArray("event: ") + event + "\ndata: " + data + "\n\n";
}

} // namespace

// The endpoints, with what they share.
class HttpService::Handlers {
public:
    explicit Handlers(Parts &parts) : m_parts(parts), m_runner(parts.extractor, parts.engine) {}

    void health(const httplib::Request &, httplib::Response &res)
    {
        sendJson(res, 200, R"({"status":"ok","engine":)" + protocol::encodeText(m_parts.engine.name()) + '}');
    }

    void analyze(const httplib::Request &req, httplib::Response &res, const httplib::ContentReader &reader,
                 bool stream);

private:
    // Takes one from the device's allowance; gives it back unless kept.
    struct AllowanceTicket {
        AllowanceStore *store = nullptr;
        QString device;
        QDate day;
        bool kept = false;
        ~AllowanceTicket()
        {
            if (store && !kept)
                store->giveBack(device, day);
        }
    };
    struct StreamJob {
        Upload upload;
        QString requestId;
        Clock::time_point started;
        std::shared_ptr<AllowanceTicket> ticket;
    };
    void streamReading(StreamJob &job, httplib::DataSink &sink);

    Parts &m_parts;
    AnalysisRunner m_runner;
};

void HttpService::Handlers::analyze(const httplib::Request &req, httplib::Response &res,
                                    const httplib::ContentReader &reader, bool stream)
{
    const Clock::time_point started = t_notes.started.value_or(Clock::now());
    const QString requestId = t_notes.requestId = acceptedRequestId(header(req, "X-Request-Id"));
    const QString headerLanguage = header(req, "Accept-Language");
    const bool headerZh = prefersChinese(headerLanguage);
    const ServiceConfig &config = m_parts.config;

    // The app says how long its upload is and sends it as it is. The HTTP
    // layer caps neither a chunked nor a compressed body, so neither is read.
    const QString encoding = header(req, "Content-Encoding").trimmed().toLower();
    if (req.has_header("Transfer-Encoding") ||
        !(encoding.isEmpty() || encoding == QLatin1String("identity"))) {
        res.set_header("Connection", "close");
        return sendError(res, ServiceError::badRequest(headerZh), requestId);
    }
    // A body far beyond the limit is refused before it is read; a little
    // over it is read and dropped, so the app gets the answer, not a reset.
    const auto announced = req.get_header_value<std::uint64_t>("Content-Length");
    if (announced > std::uint64_t(config.maxUploadBytes) * 4) {
        res.set_header("Connection", "close");
        return sendError(res, ServiceError::payloadTooLarge(headerZh), requestId);
    }
    UploadForm form(config.maxUploadBytes, started + std::chrono::seconds(config.uploadTimeoutSeconds));
    const bool multipart = req.is_multipart_form_data();
    const bool read =
        multipart ? reader([&](const httplib::MultipartFormData &part) { return form.beginPart(part.name); },
                           [&](const char *data, std::size_t size) { return form.addData(data, size); })
                  : reader([&](const char *, std::size_t size) { return form.discard(size); });
    if (!read) {
        res.set_header("Connection", "close");
        const bool tooLarge = form.stopReason() == UploadForm::Stop::TooLarge || res.status == 413;
        if (form.stopReason() == UploadForm::Stop::TooSlow)
            return sendError(res, ServiceError::requestTimeout(headerZh), requestId);
        return sendError(
            res, tooLarge ? ServiceError::payloadTooLarge(headerZh) : ServiceError::badRequest(headerZh),
            requestId);
    }
    if (!bearerMatches(req.get_header_value("Authorization"), config.token))
        return sendError(res, ServiceError::unauthorized(headerZh), requestId);
    if (!multipart)
        return sendError(res, ServiceError::badRequest(headerZh), requestId);
    std::variant<Upload, ServiceError> checked = form.finish(headerLanguage);
    if (const auto *refusal = std::get_if<ServiceError>(&checked))
        return sendError(res, *refusal, requestId);
    Upload upload = std::get<Upload>(std::move(checked));
    const bool zh = prefersChinese(upload.uiLanguage);

    auto ticket = std::make_shared<AllowanceTicket>();
    if (config.dailyAllowance > 0) {
        // Without a device id the address stands in for it.
        QString device = header(req, "X-Device-Id");
        if (device.isEmpty())
            device = QStringLiteral("address:") + QString::fromStdString(req.remote_addr);
        const QDate day = m_parts.today();
        if (!m_parts.allowance.take(device, day, config.dailyAllowance))
            return sendError(res, ServiceError::quotaExceeded(zh), requestId);
        ticket->store = &m_parts.allowance;
        ticket->device = device;
        ticket->day = day;
    }

    if (!stream) {
        const std::atomic<bool> running{false};
        std::variant<ExtractedText, ServiceError> text = m_runner.extract(upload, running);
        if (const auto *refusal = std::get_if<ServiceError>(&text))
            return sendError(res, *refusal, requestId);
        const auto reading = m_runner.read(
            upload, std::get<ExtractedText>(text), requestId, QStringLiteral("plain"), started,
            [](const protocol::FieldEvent &) {}, running);
        if (const auto *failure = std::get_if<ServiceError>(&reading))
            return sendError(res, *failure, requestId);
        ticket->kept = true;
        return sendJson(res, 200, std::get<Reading>(reading).envelopeJson);
    }

    // The picture is read inside the stream, so that what its first lines
    // decide can go out while the rest is read.
    auto job = std::make_shared<StreamJob>(StreamJob{std::move(upload), requestId, started, ticket});
    res.set_header("Cache-Control", "no-store");
    // Proxies in front of the service must pass each line on as it comes.
    res.set_header("X-Accel-Buffering", "no");
    // Exactly this type: httplib compresses other text types for clients
    // that accept gzip, and a compressor holds lines back.
    res.set_chunked_content_provider("text/event-stream", [this, job](std::size_t, httplib::DataSink &sink) {
        streamReading(*job, sink);
        return true;
    });
}

void HttpService::Handlers::streamReading(StreamJob &job, httplib::DataSink &sink)
{
    // A failed write means the app went away: the engine may stop early.
    std::atomic<bool> cancelled{false};
    std::mutex writing; // the heartbeat writes from its own thread
    const auto write = [&](const QByteArray &bytes) {
        const std::lock_guard lock(writing);
        if (!cancelled && !sink.write(bytes.constData(), std::size_t(bytes.size())))
            cancelled = true;
    };
    // A comment line, which readers of the stream skip.
    std::optional<Heartbeat> heartbeat(std::in_place, m_parts.config.streamHeartbeat,
                                       [&] { write(QByteArrayLiteral(":\n")); });
    const FieldSink sendField = [&](const protocol::FieldEvent &event) {
        write(eventLines("field", protocol::encodeFieldEvent(event)));
    };
    std::variant<ExtractedText, ServiceError> text = m_runner.extract(job.upload, cancelled, sendField);
    std::variant<Reading, ServiceError> reading = ServiceError{};
    if (const auto *refusal = std::get_if<ServiceError>(&text))
        reading = *refusal;
    else
        reading = m_runner.read(job.upload, std::get<ExtractedText>(text), job.requestId,
                                QStringLiteral("stream"), job.started, sendField, cancelled);
    heartbeat.reset();
    if (const auto *failure = std::get_if<ServiceError>(&reading)) {
        noteFailure(*failure);
        write(eventLines("error", protocol::encodeAPIError(failure->apiError())));
    } else {
        job.ticket->kept = true;
        write(eventLines("result", std::get<Reading>(reading).envelopeJson));
    }
    if (cancelled && t_notes.error.isEmpty())
        t_notes.error = QStringLiteral("client_gone");
    sink.done();
}

HttpService::HttpService(Parts parts)
    : m_parts(std::move(parts)), m_server(std::make_unique<httplib::Server>()),
      m_handlers(std::make_unique<Handlers>(m_parts))
{
    httplib::Server &s = *m_server;
    const int workers = m_parts.config.workers;
    s.new_task_queue = [workers] { return new httplib::ThreadPool(std::size_t(workers)); };
    s.set_payload_max_length(std::size_t(m_parts.config.maxUploadBytes));
    s.set_read_timeout(m_parts.config.readTimeoutSeconds, 0);
    s.set_write_timeout(m_parts.config.readTimeoutSeconds, 0);
    s.set_keep_alive_timeout(m_parts.config.keepAliveSeconds);
    // httplib's default also sets SO_REUSEPORT, which lets a second service
    // share the port and take half the uploads; one port, one service.
    s.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });

    s.set_pre_routing_handler([](const httplib::Request &, httplib::Response &) {
        t_notes = {Clock::now(), {}, {}, {}};
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.Get(std::string("/") + protocol::kHealthPath,
          [this](const httplib::Request &req, httplib::Response &res) { m_handlers->health(req, res); });
    for (const bool stream : {false, true}) {
        s.Post(std::string("/") + (stream ? protocol::kStreamPath : protocol::kPlainPath),
               [this, stream](const httplib::Request &req, httplib::Response &res,
                              const httplib::ContentReader &reader) {
                   m_handlers->analyze(req, res, reader, stream);
               });
    }
    // Whatever the HTTP layer refuses itself (unknown paths, broken request
    // lines, oversized headers) still gets the error envelope.
    s.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request &req,
                                                                httplib::Response &res) {
        if (!res.body.empty())
            return httplib::Server::HandlerResponse::Unhandled;
        sendError(res, ServiceError::forStatus(res.status, prefersChinese(header(req, "Accept-Language"))),
                  t_notes.requestId);
        return httplib::Server::HandlerResponse::Handled;
    }));
    s.set_exception_handler([](const httplib::Request &req, httplib::Response &res, std::exception_ptr) {
        sendError(res, ServiceError::internal(prefersChinese(header(req, "Accept-Language"))),
                  t_notes.requestId);
    });
    s.set_logger([this](const httplib::Request &req, const httplib::Response &res) {
        RequestLogEntry entry{QString::fromStdString(req.method),
                              QString::fromStdString(req.path),
                              res.status,
                              0,
                              m_parts.engine.name(),
                              t_notes.requestId,
                              t_notes.error,
                              t_notes.detail};
        if (t_notes.started)
            entry.ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - *t_notes.started)
                           .count();
        if (m_parts.log)
            m_parts.log(formatLogLine(entry));
        t_notes = {};
    });
}

HttpService::~HttpService()
{
    stop();
}

QString HttpService::bind()
{
    // A client that hangs up mid-answer must not end the service.
    std::signal(SIGPIPE, SIG_IGN);
    const std::string host = m_parts.config.host.toStdString();
    if (m_parts.config.port == 0) {
        m_port = m_server->bind_to_any_port(host);
        if (m_port > 0)
            return {};
    } else if (m_server->bind_to_port(host, m_parts.config.port)) {
        m_port = m_parts.config.port;
        return {};
    }
    m_port = 0;
    return QStringLiteral("cannot listen on %1:%2 (in use, or not an address of this machine)")
        .arg(m_parts.config.host)
        .arg(m_parts.config.port);
}

void HttpService::serve()
{
    m_server->listen_after_bind();
}

void HttpService::start()
{
    m_thread = std::thread([this] { serve(); });
    // Connections made meanwhile wait in the listening socket's queue; this
    // only keeps an early stop() from racing the start.
    for (int i = 0; i < 2000 && !m_server->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void HttpService::stop()
{
    if (m_server)
        m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace tavolen::service
