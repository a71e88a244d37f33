// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeModelServer.h"

#include "LoopbackCertificate.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace tavolen::test {

void Latch::open()
{
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
    }
    m_opened.notify_all();
}

bool Latch::waitFor(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_opened.wait_for(lock, limit, [this] { return m_open; });
}

namespace {

// Files that live until the test program ends.
struct TemporaryFiles {
    std::mutex mutex;
    std::vector<std::filesystem::path> paths;
    ~TemporaryFiles()
    {
        for (const auto &path : paths)
            std::filesystem::remove(path);
    }
};

std::string writtenFile(const std::string &name, const char *contents)
{
    static TemporaryFiles files;
    const auto path = std::filesystem::temp_directory_path() /
                      ("tavolen-llm-test-" + std::to_string(::getpid()) + "-" + name);
    std::ofstream(path) << contents;
    std::lock_guard lock(files.mutex);
    files.paths.push_back(path);
    return path.string();
}

} // namespace

std::string loopbackCertificateFile()
{
    static const std::string path = writtenFile("cert.pem", kLoopbackCertificate);
    return path;
}

FakeModelServer::FakeModelServer(Transport transport) : m_tls(transport == Transport::Tls)
{
    if (m_tls) {
        static const std::string key = writtenFile("key.pem", kLoopbackKey);
        m_server = std::make_unique<httplib::SSLServer>(loopbackCertificateFile().c_str(), key.c_str());
    } else {
        m_server = std::make_unique<httplib::Server>();
    }
    m_server->Post("/v1/chat/completions",
                   [this](const httplib::Request &request, httplib::Response &response) {
                       Script script;
                       {
                           std::lock_guard lock(m_mutex);
                           m_requests.push_back({request.target, request.body, request.headers});
                           script = m_script;
                       }
                       if (script)
                           script(request, response);
                       else
                           response.status = 500;
                   });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    // A stop before the accept loop runs would be lost and leave it blocked.
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FakeModelServer::~FakeModelServer()
{
    m_shutdown.open();
    m_server->stop();
    m_thread.join();
}

QString FakeModelServer::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2/v1").arg(m_tls ? "https" : "http").arg(m_port);
}

void FakeModelServer::answer(Script script)
{
    std::lock_guard lock(m_mutex);
    m_script = std::move(script);
}

std::vector<ReceivedRequest> FakeModelServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::string contentEvent(const std::string &content)
{
    const nlohmann::json chunk = {
        {"object", "chat.completion.chunk"},
        {"choices", {{{"index", 0}, {"delta", {{"content", content}}}, {"finish_reason", nullptr}}}}};
    return "data: " + chunk.dump() + "\n\n";
}

std::vector<std::string> piecesOf(const std::string &text, std::size_t size)
{
    std::vector<std::string> pieces;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = std::min(begin + size, text.size());
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        pieces.push_back(text.substr(begin, end - begin));
        begin = end;
    }
    return pieces;
}

FakeModelServer::Script streamOf(std::vector<std::string> events)
{
    return [events](const httplib::Request &, httplib::Response &response) {
        response.set_chunked_content_provider("text/event-stream", [events](size_t, httplib::DataSink &sink) {
            for (const std::string &event : events)
                if (!sink.write(event.data(), event.size()))
                    return false;
            sink.done();
            return true;
        });
    };
}

FakeModelServer::Script modelWrites(const std::string &text)
{
    std::vector<std::string> events;
    for (const std::string &piece : piecesOf(text, 7))
        events.push_back(contentEvent(piece));
    events.push_back("data: [DONE]\n\n");
    return streamOf(std::move(events));
}

FakeModelServer::Script statusAnswer(int status, std::string body)
{
    return [status, body](const httplib::Request &, httplib::Response &response) {
        response.status = status;
        response.set_content(body, "application/json");
    };
}

} // namespace tavolen::test
