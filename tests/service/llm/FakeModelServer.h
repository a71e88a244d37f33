// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <httplib.h>

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tavolen::test {

// A door a scripted answer waits at until the test opens it.
class Latch {
public:
    void open();
    // Whether the gate opened within `limit`.
    bool waitFor(std::chrono::milliseconds limit);

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
};

// One request as the fake endpoint received it.
struct ReceivedRequest {
    std::string target;
    std::string body;
    httplib::Headers headers;
    // When it had arrived whole, on the clock every process shares.
    std::chrono::steady_clock::time_point arrived = std::chrono::steady_clock::now();

    // The first value of a header (names compared case-insensitively).
    std::optional<std::string> header(const std::string &name) const
    {
        const auto it = headers.find(name);
        return it == headers.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

// An OpenAI-compatible chat-completions endpoint on 127.0.0.1 (an ephemeral
// port), served by cpp-httplib on threads of its own, that answers
// POST /v1/chat/completions from a script and records what it received.
class FakeModelServer {
public:
    // Writes the answer; may stream through a chunked content provider.
    using Script = std::function<void(const httplib::Request &, httplib::Response &)>;
    enum class Transport { Plain, Tls };

    // Tls serves https with the loopback certificate.
    explicit FakeModelServer(Transport transport = Transport::Plain);
    ~FakeModelServer();
    FakeModelServer(const FakeModelServer &) = delete;
    FakeModelServer &operator=(const FakeModelServer &) = delete;

    // "http://127.0.0.1:PORT/v1" (https with Tls), the engine's base URL.
    QString baseUrl() const;
    void answer(Script script);
    std::vector<ReceivedRequest> requests() const;
    // Opened when the server shuts down, so scripts that wait end.
    Latch &shutdown() { return m_shutdown; }

private:
    std::unique_ptr<httplib::Server> m_server;
    bool m_tls = false;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    Script m_script;
    std::vector<ReceivedRequest> m_requests;
    Latch m_shutdown;
};

// A file holding the loopback certificate, written once per test run; point
// SSL_CERT_FILE at it to trust the Tls server.
std::string loopbackCertificateFile();

// One streamed chunk carrying `content` as the model's next text.
std::string contentEvent(const std::string &content);
// `text` cut into pieces of about `size` bytes, never inside a UTF-8 character.
std::vector<std::string> piecesOf(const std::string &text, std::size_t size);

// A streamed answer: each of `events` (whole lines of the event stream) as a
// chunk of its own, then nothing more.
FakeModelServer::Script streamOf(std::vector<std::string> events);
// A streamed answer of the model writing `text` in small pieces, then [DONE].
FakeModelServer::Script modelWrites(const std::string &text);
// A plain answer with `status` and a JSON body.
FakeModelServer::Script statusAnswer(int status, std::string body);

} // namespace tavolen::test
