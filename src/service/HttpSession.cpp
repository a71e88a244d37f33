// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/HttpSession.h"

#include "protocol/Encoding.h"
#include "protocol/Endpoints.h"
#include "protocol/LocalControl.h"
#include "service/MultipartForm.h"
#include "service/RequestHeaders.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/ip/address.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>

#include <limits>

namespace tavolen::service {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;

namespace {

// A refused request's unread bytes are taken in and dropped for a moment
// before the socket closes: closing on unread bytes resets the connection,
// and the reset destroys the answer before the client has read it. The app
// reads the answer only once its upload is sent, so a body it announced is
// taken in whole (and dropped as it comes); without one, a little.
constexpr std::uint64_t kDrainBytes = 256 * 1024;
constexpr std::uint64_t kMaxDrainBytes = 64 * 1024 * 1024;
constexpr auto kDrainTime = std::chrono::seconds(2);
// What a client may send while its reading runs, which nothing reads.
constexpr std::size_t kMaxStrayBytes = 64 * 1024;

// A header's value, by its known field or its name.
template <class Name> QString fieldText(const http::request<http::buffer_body> &req, Name name)
{
    const beast::string_view v = req[name];
    return QString::fromUtf8(v.data(), qsizetype(v.size())).left(200);
}

QByteArray eventLines(const char *event, const QByteArray &data)
{
    return QByteArray("event: ") + event + "\ndata: " + data + "\n\n";
}

// One chunk of a chunked answer.
std::string chunk(const QByteArray &bytes)
{
    char size[20];
    const int n = std::snprintf(size, sizeof size, "%zx\r\n", std::size_t(bytes.size()));
    std::string out(size, std::size_t(n));
    out.append(bytes.constData(), std::size_t(bytes.size()));
    out += "\r\n";
    return out;
}

// Also 127.0.0.1 as an IPv6 socket sees it (::ffff:127.0.0.1).
bool isLoopback(const net::ip::address &address)
{
    if (address.is_v6() && address.to_v6().is_v4_mapped())
        return net::ip::make_address_v4(net::ip::v4_mapped, address.to_v6()).is_loopback();
    return address.is_loopback();
}

bool isParseError(const beast::error_code &ec)
{
    return &ec.category() == &http::make_error_code(http::error::bad_method).category() &&
           ec != http::error::end_of_stream && ec != http::error::partial_message;
}

} // namespace

void SessionHost::log(const RequestLogEntry &entry)
{
    if (!parts.log)
        return;
    const QString line = formatLogLine(entry);
    const std::lock_guard lock(logMutex);
    parts.log(line);
}

void SessionHost::makeRoom()
{
    // Released after the lock: the last reference ends a session, whose
    // end takes the lock.
    std::vector<std::shared_ptr<HttpSession>> seen;
    {
        const std::lock_guard lock(sessionsMutex);
        for (const std::weak_ptr<HttpSession> &weak : sessions) {
            std::shared_ptr<HttpSession> &session = seen.emplace_back(weak.lock());
            if (session && session->waitingForHead() && !session->evicting.exchange(true)) {
                session->close(false);
                break;
            }
        }
    }
}

// Takes one from the device's allowance; gives it back unless kept.
struct HttpSession::AllowanceTicket {
    AllowanceStore *store = nullptr;
    QString device;
    QDate day;
    std::atomic<bool> kept = false;
    ~AllowanceTicket()
    {
        if (store && !kept)
            store->giveBack(device, day);
    }
};

HttpSession::HttpSession(net::ip::tcp::socket socket, SessionHost &host)
    : m_host(host), m_stream(std::move(socket)), m_buffer(host.config.maxHeaderBytes + 4096),
      m_uploadTimer(m_stream.get_executor()), m_budgetTimer(m_stream.get_executor()),
      m_heartbeat(m_stream.get_executor())
{
    ++m_host.waiting;
}

HttpSession::~HttpSession()
{
    leaveWaiting();
    if (m_countedRequest)
        --m_host.requests;
    const std::lock_guard lock(m_host.sessionsMutex);
    m_host.sessions.erase(registration);
}

void HttpSession::leaveWaiting()
{
    if (m_countedWaiting) {
        m_countedWaiting = false;
        --m_host.waiting;
    }
}

void HttpSession::start()
{
    net::dispatch(m_stream.get_executor(), [self = shared_from_this()] { self->readHead(); });
}

void HttpSession::close(bool stopping)
{
    net::post(m_stream.get_executor(), [self = shared_from_this(), stopping] {
        const State s = self->m_state;
        if (s == State::Head || (stopping && (s == State::Body || s == State::Closing))) {
            beast::error_code ignored;
            self->m_stream.socket().close(ignored);
        }
    });
}

void HttpSession::readHead()
{
    m_head.emplace();
    m_head->header_limit(std::uint32_t(m_host.config.maxHeaderBytes));
    // The body's size is judged once the head is in, by the endpoint. Not
    // boost::none: Beast 1.74 compares a length with it as with zero.
    m_head->body_limit(std::numeric_limits<std::uint64_t>::max());
    // One deadline for the whole head, not a silence limit: each byte that
    // arrives does not buy more time.
    m_stream.expires_after(m_host.config.headTimeout);
    http::async_read_header(
        m_stream, m_buffer, *m_head,
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onHead(ec); });
}

void HttpSession::onHead(beast::error_code ec)
{
    leaveWaiting();
    m_started = Clock::now();
    if (ec == http::error::header_limit || ec == http::error::buffer_overflow) {
        m_state = State::Answer;
        return answerError(ServiceError::forStatus(431, false));
    }
    if (isParseError(ec)) {
        m_state = State::Answer;
        return answerError(ServiceError::badRequest(false));
    }
    if (ec) // the deadline, or a client that left: nobody to answer
        return;
    m_state = State::Answer;
    route();
}

void HttpSession::route()
{
    const http::request<http::buffer_body> &req = m_head->get();
    const beast::string_view method = req.method_string();
    m_method = QString::fromLatin1(method.data(), qsizetype(method.size())).left(20);
    beast::string_view target = req.target();
    target = target.substr(0, target.find('?'));
    m_path = QString::fromUtf8(target.data(), qsizetype(target.size())).left(200);
    m_language = fieldText(req, http::field::accept_language);
    const bool zh = prefersChinese(m_language);
    // Without a body, or a body that no endpoint here reads, the request is
    // whole once its head is.
    m_fullyRead = m_head->is_done();
    m_engine = m_host.parts.engines.current();

    if (req.method() == http::verb::unknown)
        return answerError(ServiceError::badRequest(zh));
    const bool health = target == beast::string_view(std::string("/") + protocol::kHealthPath);
    const bool plain = target == beast::string_view(std::string("/") + protocol::kPlainPath);
    const bool stream = target == beast::string_view(std::string("/") + protocol::kStreamPath);
    // Without a secret to ask for, there is no way to ask for a reload here.
    const bool reload = target == beast::string_view(std::string("/") + protocol::kReloadPath) &&
                        !m_host.parts.controlSecret.isEmpty();
    if (!health && !plain && !stream && !reload)
        return answerError(ServiceError::notFound(zh));
    const http::verb allowed = health ? http::verb::get : http::verb::post;
    if (req.method() != allowed)
        return answerError(ServiceError::methodNotAllowed(zh), health ? "GET" : "POST");
    if (health)
        return answerJson(200, R"({"status":"ok",)" + engineFields(*m_engine) + '}');
    if (reload)
        return startReload();
    m_isStream = stream;
    startUpload();
}

void HttpSession::startReload()
{
    // Only a program of this machine, showing the secret that only this
    // user can read: anyone else could make the service drop its engine or
    // try a key again and again.
    beast::error_code ec;
    const auto peer = m_stream.socket().remote_endpoint(ec);
    const beast::string_view authorization = m_head->get()[http::field::authorization];
    if (ec || !isLoopback(peer.address()) || !m_host.parts.reload ||
        !bearerMatches(std::string(authorization), m_host.parts.controlSecret)) {
        m_error = QStringLiteral("forbidden");
        return answerJson(403, R"({"error":{"code":"forbidden"}})");
    }
    // Not an I/O thread's work: the key may come from the keyring. The
    // connection waits as for an analysis, and the sockets' threads keep
    // serving until the answer is back.
    m_state = State::Analysis;
    m_host.parts.reload([self = shared_from_this(), work = trackedWork()](const ReloadOutcome &outcome) {
        net::post(self->m_stream.get_executor(), [self, outcome] { self->answerReload(outcome); });
    });
}

void HttpSession::answerReload(const ReloadOutcome &outcome)
{
    // The log line names the engine serving once the reload is done.
    m_engine = outcome.engine;
    if (outcome.error.isEmpty())
        return answerJson(200, '{' + engineFields(*outcome.engine) + '}');
    m_error = QStringLiteral("reload_failed");
    m_detail = outcome.error;
    answerJson(409, R"({"error":{"code":"reload_failed","message":)" + protocol::encodeText(outcome.error) +
                        R"(},"engine":)" + protocol::encodeText(outcome.engine->name()) + '}');
}

void HttpSession::startUpload()
{
    const http::request<http::buffer_body> &req = m_head->get();
    const ServiceConfig &config = m_host.config;
    m_requestId = acceptedRequestId(fieldText(req, "X-Request-Id"));
    const bool zh = prefersChinese(m_language);

    if (m_host.requests.fetch_add(1) >= config.maxRequests) {
        --m_host.requests;
        return answerError(ServiceError::busy(zh));
    }
    m_countedRequest = true;

    // The app says how long its upload is, once, and sends it as it is:
    // neither a chunked nor a compressed body is read, and a length said
    // twice may be read differently by a proxy in front.
    const QString encoding = fieldText(req, http::field::content_encoding).trimmed().toLower();
    const beast::string_view length = req[http::field::content_length];
    if (req.count(http::field::transfer_encoding) > 0 || req.count(http::field::content_length) > 1 ||
        length.find(',') != beast::string_view::npos ||
        !(encoding.isEmpty() || encoding == QLatin1String("identity")))
        return answerError(ServiceError::badRequest(zh));
    // A body far beyond the limit is refused before it is read; a little
    // over it is read and dropped, so the app gets the answer, not a reset.
    const std::uint64_t announced = m_head->content_length().value_or(0);
    if (announced > std::uint64_t(config.maxUploadBytes) * 4)
        return answerError(ServiceError::payloadTooLarge(zh));
    m_tooLarge = announced > std::uint64_t(config.maxUploadBytes);
    if (!m_tooLarge)
        m_body.reserve(std::size_t(announced));

    const beast::string_view type = req[http::field::content_type];
    m_contentType.assign(type.data(), type.size());
    const beast::string_view authorization = req[http::field::authorization];
    m_authorization.assign(authorization.data(), authorization.size());
    m_deviceId = fieldText(req, "X-Device-Id");

    m_state = State::Body;
    m_chunk.resize(64 * 1024);
    m_uploadTimer.expires_at(m_started + std::chrono::seconds(config.uploadTimeoutSeconds));
    m_uploadTimer.async_wait([self = shared_from_this()](beast::error_code ec) {
        if (ec || self->m_state != State::Body)
            return;
        // Ends the pending read, so that the answer can still be sent.
        self->m_uploadLate = true;
        self->m_stream.socket().cancel(ec);
    });
    readBody();
}

void HttpSession::readBody()
{
    if (m_head->is_done())
        return onBodyDone();
    http::buffer_body::value_type &body = m_head->get().body();
    body.data = m_chunk.data();
    body.size = m_chunk.size();
    m_stream.expires_after(std::chrono::seconds(m_host.config.readTimeoutSeconds));
    http::async_read_some(
        m_stream, m_buffer, *m_head,
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onBody(ec); });
}

void HttpSession::onBody(beast::error_code ec)
{
    if (ec == http::error::need_buffer)
        ec = {};
    const std::size_t got = m_chunk.size() - m_head->get().body().size;
    if (!m_tooLarge && m_body.size() + got <= std::size_t(m_host.config.maxUploadBytes))
        m_body.append(m_chunk.data(), got);
    else if (!m_tooLarge) {
        m_tooLarge = true;
        std::string().swap(m_body);
    }
    if (m_uploadLate) {
        m_state = State::Answer;
        return answerError(ServiceError::requestTimeout(prefersChinese(m_language)));
    }
    if (ec) {
        m_uploadTimer.cancel();
        // Silent for too long (the stream closed the socket), gone, or
        // stopped: there is nobody to answer.
        if (ec == beast::error::timeout) {
            m_status = 408;
            m_error = QStringLiteral("request_timeout");
            writeLog();
        }
        return;
    }
    readBody();
}

void HttpSession::onBodyDone()
{
    m_uploadTimer.cancel();
    m_fullyRead = true;
    m_state = State::Answer;
    m_chunk = {};
    const ServiceConfig &config = m_host.config;
    const bool headerZh = prefersChinese(m_language);
    if (m_tooLarge)
        return answerError(ServiceError::payloadTooLarge(headerZh));

    UploadForm form(config.maxUploadBytes, m_started + std::chrono::seconds(config.uploadTimeoutSeconds));
    const std::string_view type(m_contentType);
    const bool multipart =
        QByteArray(type.data(), qsizetype(type.size())).trimmed().toLower().startsWith("multipart/form-data");
    bool read = false;
    if (multipart) {
        const std::optional<std::string> boundary = multipartBoundary(type);
        read = boundary && readMultipart(m_body, *boundary, form);
    } else {
        read = form.discard(m_body.size());
    }
    std::string().swap(m_body);
    if (!read) {
        if (form.stopReason() == UploadForm::Stop::TooSlow)
            return answerError(ServiceError::requestTimeout(headerZh));
        return answerError(form.stopReason() == UploadForm::Stop::TooLarge
                               ? ServiceError::payloadTooLarge(headerZh)
                               : ServiceError::badRequest(headerZh));
    }
    if (!bearerMatches(m_authorization, config.token))
        return answerError(ServiceError::unauthorized(headerZh));
    if (!multipart)
        return answerError(ServiceError::badRequest(headerZh));
    std::variant<Upload, ServiceError> checked = form.finish(m_language);
    if (const auto *refusal = std::get_if<ServiceError>(&checked))
        return answerError(*refusal);
    Upload upload = std::get<Upload>(std::move(checked));

    m_ticket = std::make_shared<AllowanceTicket>();
    if (config.dailyAllowance > 0) {
        // Without a device id the address stands in for it.
        QString device = m_deviceId;
        if (device.isEmpty()) {
            beast::error_code ec;
            const auto peer = m_stream.socket().remote_endpoint(ec);
            device = QStringLiteral("address:") + QString::fromStdString(peer.address().to_string());
        }
        const QDate day = m_host.parts.today();
        if (!m_host.parts.allowance.take(device, day, config.dailyAllowance))
            return answerError(ServiceError::quotaExceeded(prefersChinese(upload.uiLanguage)));
        m_ticket->store = &m_host.parts.allowance;
        m_ticket->device = device;
        m_ticket->day = day;
    }
    m_state = State::Analysis;
    if (m_isStream)
        startStream(std::move(upload));
    else
        startPlain(std::move(upload));
}

net::any_io_executor HttpSession::trackedWork()
{
    // Keeps the sockets' threads serving until the analysis has posted its
    // answer back, even when nothing else is left for them to wait on.
    return net::prefer(m_stream.get_executor(), net::execution::outstanding_work.tracked);
}

void HttpSession::watchPeer()
{
    // The client sends nothing more after its upload: a read that ends
    // means it hung up, and its reading is not worth finishing.
    m_stream.socket().async_read_some(
        net::buffer(m_peek), [self = shared_from_this()](beast::error_code ec, std::size_t n) {
            if (ec == net::error::operation_aborted || self->m_state == State::Closing)
                return;
            self->m_strayBytes += n;
            if (!ec && self->m_strayBytes <= kMaxStrayBytes)
                return self->watchPeer();
            self->peerGone();
        });
}

void HttpSession::peerGone()
{
    m_peerGone = true;
    m_cancel->store(true);
}

void HttpSession::startPlain(Upload upload)
{
    const auto deadline = Clock::now() + m_host.config.plainReadingBudget;
    m_budgetTimer.expires_at(deadline);
    m_budgetTimer.async_wait([self = shared_from_this()](beast::error_code ec) {
        if (ec)
            return;
        self->m_budgetSpent = true;
        self->m_cancel->store(true);
    });
    watchPeer();
    m_host.pool->post([self = shared_from_this(), upload = std::move(upload), work = trackedWork()] {
        SessionHost &host = self->m_host;
        const std::atomic<bool> &cancelled = *self->m_cancel;
        // A reading whose budget ran out while it waited for a worker is not begun.
        std::variant<Reading, ServiceError> reading =
            cancelled ? ServiceError::readingTimeout(false)
                      : AnalysisRunner(host.parts.extractor, self->m_engine)
                            .run(upload, self->m_requestId, QStringLiteral("plain"), self->m_started, {},
                                 cancelled);
        const bool zh = prefersChinese(upload.uiLanguage);
        net::post(self->m_stream.get_executor(), [self, reading = std::move(reading), zh] {
            self->m_budgetTimer.cancel();
            if (self->m_peerGone) {
                self->m_error = QStringLiteral("client_gone");
                self->m_status = 499;
                self->writeLog();
                self->m_state = State::Closing;
                beast::error_code ignored;
                self->m_stream.socket().close(ignored);
                return;
            }
            if (const auto *failure = std::get_if<ServiceError>(&reading)) {
                ServiceError e = *failure;
                // Whatever the engine made of being stopped, the budget ran out.
                if (self->m_budgetSpent)
                    e = ServiceError::readingTimeout(zh);
                return self->answerError(e);
            }
            self->m_ticket->kept = true;
            self->answerJson(200, std::get<Reading>(reading).envelopeJson);
        });
    });
}

void HttpSession::startStream(Upload upload)
{
    m_streamHead.emplace(http::status::ok, 11);
    // Exactly this type, uncompressed: a compressor would hold lines back.
    m_streamHead->set(http::field::content_type, "text/event-stream");
    m_streamHead->set(http::field::cache_control, "no-store");
    // Proxies in front of the service must pass each line on as it comes.
    m_streamHead->set("X-Accel-Buffering", "no");
    m_streamHead->set(http::field::connection, "close");
    m_streamHead->chunked(true);
    m_headWriter.emplace(*m_streamHead);
    m_status = 200;
    m_writing = true;
    m_stream.expires_after(std::chrono::seconds(m_host.config.writeTimeoutSeconds));
    http::async_write_header(
        m_stream, *m_headWriter,
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onWritten(ec, false); });
    armHeartbeat();
    watchPeer();

    m_host.pool->post([self = shared_from_this(), upload = std::move(upload), work = trackedWork()] {
        SessionHost &host = self->m_host;
        const std::atomic<bool> &cancelled = *self->m_cancel;
        const auto send = [&self](const QByteArray &bytes) {
            net::post(self->m_stream.get_executor(),
                      [self, framed = chunk(bytes)]() mutable { self->enqueue(std::move(framed)); });
        };
        const FieldSink sendField = [&](const protocol::FieldEvent &event) {
            send(eventLines("field", protocol::encodeFieldEvent(event)));
        };
        // The picture is read inside the stream, so that what its first
        // lines decide can go out while the rest is read.
        const std::variant<Reading, ServiceError> reading =
            AnalysisRunner(host.parts.extractor, self->m_engine)
                .run(upload, self->m_requestId, QStringLiteral("stream"), self->m_started, sendField,
                     cancelled);
        std::optional<ServiceError> failure;
        if (const auto *f = std::get_if<ServiceError>(&reading)) {
            failure = *f;
            send(eventLines("error", protocol::encodeAPIError(f->apiError())));
        } else {
            self->m_ticket->kept = true;
            send(eventLines("result", std::get<Reading>(reading).envelopeJson));
        }
        net::post(self->m_stream.get_executor(), [self, failure] { self->finishStream(failure); });
    });
}

void HttpSession::enqueue(std::string bytes)
{
    if (m_peerGone)
        return;
    m_out.push_back(std::move(bytes));
    if (!m_writing)
        writeNext();
}

void HttpSession::writeNext()
{
    if (m_writing || m_peerGone)
        return;
    if (m_out.empty()) {
        if (!m_streamDone || m_lastSent)
            return;
        m_lastSent = true;
        m_out.emplace_back("0\r\n\r\n");
    }
    m_writing = true;
    m_stream.expires_after(std::chrono::seconds(m_host.config.writeTimeoutSeconds));
    net::async_write(
        m_stream, net::buffer(m_out.front()),
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onWritten(ec, true); });
}

void HttpSession::onWritten(beast::error_code ec, bool line)
{
    m_writing = false;
    if (ec)
        peerGone();
    else if (line)
        m_out.pop_front();
    if (m_peerGone) {
        // The reading is told through the cancel flag; once it is done too,
        // the connection ends here.
        if (m_streamDone)
            finishStream(std::nullopt);
        return;
    }
    if (m_lastSent && m_out.empty())
        return closeGracefully();
    armHeartbeat();
    writeNext();
}

void HttpSession::armHeartbeat()
{
    m_heartbeat.expires_after(m_host.config.streamHeartbeat);
    m_heartbeat.async_wait([self = shared_from_this()](beast::error_code ec) {
        // A comment line, which readers of the stream skip, after a silence.
        if (!ec && !self->m_streamDone && self->m_out.empty())
            self->enqueue(chunk(QByteArrayLiteral(":\n")));
    });
}

void HttpSession::finishStream(const std::optional<ServiceError> &failure)
{
    if (!m_streamDone) {
        m_streamDone = true;
        m_heartbeat.cancel();
        if (failure) {
            m_error = failure->code;
            m_detail = failure->detail;
        }
    }
    if (m_peerGone) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("client_gone");
        if (m_writing)
            return; // the failing write comes back here
        writeLog();
        m_state = State::Closing;
        beast::error_code ignored;
        m_stream.socket().close(ignored);
        return;
    }
    writeNext();
}

void HttpSession::answerError(const ServiceError &e, const char *allow)
{
    m_error = e.code;
    m_detail = e.detail;
    const std::optional<QString> id = m_requestId.isEmpty() ? std::nullopt : std::optional(m_requestId);
    answerJson(e.status, protocol::encodeAPIErrorEnvelope({id, e.apiError()}), allow);
}

void HttpSession::answerJson(int status, const QByteArray &json, const char *allow)
{
    m_state = State::Answer;
    m_status = status;
    m_answer.emplace();
    m_answer->version(11);
    m_answer->result(unsigned(status));
    m_answer->set(http::field::content_type, "application/json; charset=utf-8");
    if (allow)
        m_answer->set(http::field::allow, allow);
    m_answer->set(http::field::connection, "close");
    m_answer->body().assign(json.constData(), std::size_t(json.size()));
    m_answer->prepare_payload();
    m_stream.expires_after(std::chrono::seconds(m_host.config.writeTimeoutSeconds));
    http::async_write(m_stream, *m_answer, [self = shared_from_this()](beast::error_code, std::size_t) {
        self->closeGracefully();
    });
}

void HttpSession::closeGracefully()
{
    writeLog();
    m_state = State::Closing;
    m_uploadTimer.cancel();
    m_budgetTimer.cancel();
    m_heartbeat.cancel();
    beast::error_code ignored;
    // Pending reads (the hang-up watch) end here too.
    m_stream.socket().cancel(ignored);
    if (m_fullyRead) {
        m_stream.socket().shutdown(net::ip::tcp::socket::shutdown_send, ignored);
        m_stream.socket().close(ignored);
        return;
    }
    // Not shut down for sending yet: a client still uploading may take the
    // end of the connection for a failure before it reads the answer.
    m_chunk.resize(16 * 1024);
    m_drainBudget = kDrainBytes;
    if (m_head && m_head->is_header_done())
        m_drainBudget = std::max(kDrainBytes, std::min(kMaxDrainBytes, m_head->content_length().value_or(0)));
    m_stream.expires_after(kDrainTime);
    drain();
}

void HttpSession::drain()
{
    m_stream.async_read_some(net::buffer(m_chunk),
                             [self = shared_from_this()](beast::error_code ec, std::size_t n) {
                                 self->m_drained += n;
                                 if (ec || self->m_drained > self->m_drainBudget) {
                                     beast::error_code ignored;
                                     self->m_stream.socket().close(ignored);
                                     return;
                                 }
                                 self->drain();
                             });
}

void HttpSession::writeLog()
{
    if (m_logged)
        return;
    m_logged = true;
    RequestLogEntry entry{
        m_method.isEmpty() ? QStringLiteral("-") : m_method,
        m_path.isEmpty() ? QStringLiteral("-") : m_path,
        m_status,
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_started).count(),
        m_engine ? m_engine->name() : m_host.parts.engines.current()->name(),
        m_requestId,
        m_error,
        m_detail};
    m_host.log(entry);
}

} // namespace tavolen::service
