// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

// A language model with no latency of its own, for the service stage: an
// OpenAI-compatible chat-completions endpoint on 127.0.0.1 that answers
// every request at once by streaming `reading` in small chunks, as a model
// streams its tokens, and notes when each request arrived.
class ScriptedModel {
public:
    explicit ScriptedModel(std::string reading);
    ~ScriptedModel();
    ScriptedModel(const ScriptedModel &) = delete;
    ScriptedModel &operator=(const ScriptedModel &) = delete;

    // "http://127.0.0.1:PORT/v1": the service's llm.base_url.
    QString baseUrl() const;
    // When each request had arrived whole, in order, on the clock every
    // process shares.
    std::vector<std::chrono::steady_clock::time_point> arrivals() const;
    // The body of the last request (the prompt the service built).
    std::string lastBody() const;

private:
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::vector<std::chrono::steady_clock::time_point> m_arrivals;
    std::string m_lastBody;
};
