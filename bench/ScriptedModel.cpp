// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ScriptedModel.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

namespace {

// About two tokens a chunk, as hosted models stream.
constexpr std::size_t kChunkBytes = 7;

std::string contentEvent(const std::string &content)
{
    const nlohmann::json chunk = {
        {"object", "chat.completion.chunk"},
        {"choices", {{{"index", 0}, {"delta", {{"content", content}}}, {"finish_reason", nullptr}}}}};
    return "data: " + chunk.dump() + "\n\n";
}

// The reading as content events, never cut inside a UTF-8 character.
std::vector<std::string> eventsOf(const std::string &text)
{
    std::vector<std::string> events;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = std::min(begin + kChunkBytes, text.size());
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        events.push_back(contentEvent(text.substr(begin, end - begin)));
        begin = end;
    }
    events.push_back("data: [DONE]\n\n");
    return events;
}

} // namespace

ScriptedModel::ScriptedModel(std::string reading) : m_server(std::make_unique<httplib::Server>())
{
    const std::vector<std::string> events = eventsOf(reading);
    m_server->Post("/v1/chat/completions", [this, events](const httplib::Request &request,
                                                          httplib::Response &response) {
        {
            const std::lock_guard lock(m_mutex);
            m_arrivals.push_back(std::chrono::steady_clock::now());
            m_lastBody = request.body;
        }
        response.set_chunked_content_provider("text/event-stream", [events](size_t, httplib::DataSink &sink) {
            for (const std::string &event : events)
                if (!sink.write(event.data(), event.size()))
                    return false;
            sink.done();
            return true;
        });
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    // A stop before the accept loop runs would be lost and leave it blocked.
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

ScriptedModel::~ScriptedModel()
{
    m_server->stop();
    m_thread.join();
}

QString ScriptedModel::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/v1").arg(m_port);
}

std::vector<std::chrono::steady_clock::time_point> ScriptedModel::arrivals() const
{
    const std::lock_guard lock(m_mutex);
    return m_arrivals;
}

std::string ScriptedModel::lastBody() const
{
    const std::lock_guard lock(m_mutex);
    return m_lastBody;
}
