// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/AnalysisRunner.h"
#include "service/HttpService.h"
#include "service/WorkerPool.h"

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/buffer_body.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/serializer.hpp>
#include <boost/beast/http/string_body.hpp>

#include <array>
#include <atomic>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <optional>

namespace tavolen::service {

class HttpSession;

// What every connection of one service shares.
struct SessionHost {
    explicit SessionHost(HttpService::Parts &parts) : parts(parts), config(parts.config) {}
    // One line a request, from whichever I/O thread finished it.
    void log(const RequestLogEntry &entry);
    // Closes the connection that has waited longest for its request head.
    void makeRoom();

    HttpService::Parts &parts;
    const ServiceConfig &config;
    std::mutex logMutex;
    // Connections still sending their head, and requests past it.
    std::atomic<int> waiting{0};
    std::atomic<int> requests{0};
    std::atomic<bool> stopping{false};
    // Every open connection, oldest first.
    std::mutex sessionsMutex;
    std::list<std::weak_ptr<HttpSession>> sessions;
    // Created before and destroyed after the sockets' context, whose
    // handlers post into it and are posted to from it.
    std::unique_ptr<WorkerPool> pool;
};

// One connection, one request: its head within a deadline, its body within
// a size and time budget, the analysis on the worker pool, and the answer.
// Everything but the analysis runs on the connection's strand.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    HttpSession(boost::asio::ip::tcp::socket socket, SessionHost &host);
    ~HttpSession();

    void start();
    // From any thread. Evicting ends only a connection still sending its
    // head; stopping also ends those still sending a body or lingering.
    void close(bool stopping);
    bool waitingForHead() const { return m_state.load() == State::Head; }

    std::list<std::weak_ptr<HttpSession>>::iterator registration;
    std::atomic<bool> evicting{false};

private:
    using Clock = std::chrono::steady_clock;
    enum class State { Head, Body, Analysis, Answer, Closing };

    void readHead();
    void onHead(boost::beast::error_code ec);
    void route();
    void startUpload();
    void startReload();
    void answerReload(const ReloadOutcome &outcome);
    void readBody();
    void onBody(boost::beast::error_code ec);
    void onBodyDone();
    void startPlain(Upload upload);
    void startStream(Upload upload);
    boost::asio::any_io_executor trackedWork();
    void watchPeer();
    void peerGone();

    void enqueue(std::string bytes);
    void writeNext();
    void onWritten(boost::beast::error_code ec, bool line);
    void armHeartbeat();
    void finishStream(const std::optional<ServiceError> &failure);

    void answerError(const ServiceError &e, const char *allow = nullptr);
    void answerJson(int status, const QByteArray &json, const char *allow = nullptr);
    void closeGracefully();
    void drain();
    void leaveWaiting();
    void writeLog();

    SessionHost &m_host;
    boost::beast::tcp_stream m_stream;
    boost::beast::flat_buffer m_buffer;
    boost::asio::steady_timer m_uploadTimer;
    boost::asio::steady_timer m_budgetTimer;
    boost::asio::steady_timer m_heartbeat;
    std::atomic<State> m_state{State::Head};
    bool m_countedWaiting = true;
    bool m_countedRequest = false;

    std::optional<boost::beast::http::request_parser<boost::beast::http::buffer_body>> m_head;
    std::vector<char> m_chunk;
    std::string m_body;
    bool m_tooLarge = false;
    bool m_uploadLate = false;
    bool m_fullyRead = false;

    // The engine the request is served by, handed to it when it began.
    std::shared_ptr<Engine> m_engine;

    // What the request said, kept past its parser.
    Clock::time_point m_started;
    bool m_isStream = false;
    QString m_method;
    QString m_path;
    QString m_language;
    QString m_requestId;
    std::string m_contentType;
    std::string m_authorization;
    QString m_deviceId;

    // While an analysis runs.
    struct AllowanceTicket;
    std::shared_ptr<AllowanceTicket> m_ticket;
    std::shared_ptr<std::atomic<bool>> m_cancel = std::make_shared<std::atomic<bool>>(false);
    bool m_peerGone = false;
    bool m_budgetSpent = false;
    std::array<char, 512> m_peek{};
    std::size_t m_strayBytes = 0;

    // The stream's lines, already framed as chunks, in order.
    std::optional<boost::beast::http::response<boost::beast::http::empty_body>> m_streamHead;
    std::optional<boost::beast::http::response_serializer<boost::beast::http::empty_body>> m_headWriter;
    std::deque<std::string> m_out;
    bool m_writing = false;
    bool m_streamDone = false;
    bool m_lastSent = false;

    std::optional<boost::beast::http::response<boost::beast::http::string_body>> m_answer;
    std::uint64_t m_drained = 0;
    std::uint64_t m_drainBudget = 0;

    // The log line.
    int m_status = 0;
    QString m_error;
    QString m_detail;
    bool m_logged = false;
};

} // namespace tavolen::service
