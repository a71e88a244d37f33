// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/HttpService.h"

#include "service/HttpSession.h"

#include <boost/asio/ip/address.hpp>
#include <boost/asio/post.hpp>

#include <csignal>

namespace tavolen::service {

namespace net = boost::asio;
using tcp = net::ip::tcp;

class HttpService::Core {
public:
    explicit Core(Parts &parts) : host(parts), acceptor(net::make_strand(io)), retry(acceptor.get_executor())
    {
        host.pool = std::make_unique<WorkerPool>(parts.config.workers);
    }
    ~Core()
    {
        // The analyses still running post their answers into the context,
        // which must outlive them.
        host.pool.reset();
    }

    void accept()
    {
        acceptor.async_accept(net::make_strand(io), [this](boost::system::error_code ec, tcp::socket socket) {
            if (!acceptor.is_open() || host.stopping)
                return;
            if (ec) {
                // Out of file descriptors, typically: try again shortly
                // rather than spin.
                retry.expires_after(std::chrono::milliseconds(100));
                retry.async_wait([this](boost::system::error_code e) {
                    if (!e && acceptor.is_open())
                        accept();
                });
                return;
            }
            if (host.waiting.load() >= host.config.maxWaitingConnections)
                host.makeRoom();
            auto session = std::make_shared<HttpSession>(std::move(socket), host);
            {
                const std::lock_guard lock(host.sessionsMutex);
                session->registration = host.sessions.insert(host.sessions.end(), session);
            }
            session->start();
            accept();
        });
    }

    void stop()
    {
        host.stopping = true;
        net::post(acceptor.get_executor(), [this] {
            boost::system::error_code ignored;
            acceptor.close(ignored);
            retry.cancel();
        });
        std::vector<std::shared_ptr<HttpSession>> open;
        {
            const std::lock_guard lock(host.sessionsMutex);
            for (const std::weak_ptr<HttpSession> &weak : host.sessions)
                open.push_back(weak.lock());
        }
        for (const std::shared_ptr<HttpSession> &session : open)
            if (session)
                session->close(true);
    }

    SessionHost host;
    // Destroyed before the host: its handlers hold sessions, whose end
    // takes the host's lock.
    net::io_context io;
    tcp::acceptor acceptor;
    net::steady_timer retry;
    std::atomic<bool> serving{false};
};

HttpService::HttpService(Parts parts) : m_parts(std::move(parts)), m_core(std::make_unique<Core>(m_parts))
{}

HttpService::~HttpService()
{
    stop();
}

QString HttpService::bind()
{
    // A client that hangs up mid-answer must not end the service.
    std::signal(SIGPIPE, SIG_IGN);
    m_port = 0;
    const QString failure =
        QStringLiteral("cannot listen on %1:%2 (in use, or not an address of this machine)")
            .arg(m_parts.config.host)
            .arg(m_parts.config.port);
    boost::system::error_code ec;
    tcp::endpoint endpoint;
    const net::ip::address address = net::ip::make_address(m_parts.config.host.toStdString(), ec);
    if (!ec) {
        endpoint = tcp::endpoint(address, static_cast<unsigned short>(m_parts.config.port));
    } else {
        tcp::resolver resolver(m_core->io);
        const auto found =
            resolver.resolve(m_parts.config.host.toStdString(), std::to_string(m_parts.config.port), ec);
        if (ec || found.empty())
            return failure;
        endpoint = found.begin()->endpoint();
    }
    tcp::acceptor &acceptor = m_core->acceptor;
    acceptor.open(endpoint.protocol(), ec);
    // Not SO_REUSEPORT, which would let a second service share the port
    // and take half the uploads: one port, one service.
    if (!ec)
        acceptor.set_option(net::socket_base::reuse_address(true), ec);
    if (!ec)
        acceptor.bind(endpoint, ec);
    if (!ec)
        acceptor.listen(net::socket_base::max_listen_connections, ec);
    if (ec) {
        acceptor.close(ec);
        return failure;
    }
    m_port = acceptor.local_endpoint(ec).port();
    return {};
}

void HttpService::serve()
{
    if (!m_core->acceptor.is_open() || m_core->serving.exchange(true))
        return;
    m_core->accept();
    // Runs until the acceptor is closed and every connection has ended.
    std::vector<std::thread> more;
    for (int i = 1; i < m_parts.config.ioThreads; ++i)
        more.emplace_back([this] { m_core->io.run(); });
    m_core->io.run();
    for (std::thread &t : more)
        t.join();
}

void HttpService::start()
{
    m_thread = std::thread([this] { serve(); });
}

void HttpService::stop()
{
    if (m_core)
        m_core->stop();
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace tavolen::service
