// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "RunningService.h"

#include "api/Api.h"
#include "support/ScopedSettings.h"

#include <QNetworkAccessManager>

#include <httplib.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavolen::test {

// A chat-completions endpoint on loopback that streams its answer as a model
// writes it, a few characters a chunk, or refuses with a status and body.
class ScriptedModel {
public:
    explicit ScriptedModel(std::string answer);
    ~ScriptedModel();
    QString baseUrl() const;
    void answer(std::string text);
    void fail(int status, std::string body);
    std::vector<std::string> requests() const;
    // The Authorization header of each request, "" where there was none.
    std::vector<std::string> authorizations() const;

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::string m_answer;
    int m_status = 200;
    std::vector<std::string> m_requests;
    std::vector<std::string> m_authorizations;
};

// The service configured for the scripted model; the app's settings point
// at the service. The picture's text comes from `extractor` when given,
// else from a fake that reads "Coffee on Friday?".
struct ServiceWithModel {
    explicit ServiceWithModel(std::string answer, service::TextExtractor *extractor = nullptr);
    // The app's streaming call on `jpeg`; its early fields land in `partials`.
    api::AnalysisOutcome stream(const QByteArray &jpeg = someJpeg());
    // The app's plain call on `jpeg`.
    api::AnalysisOutcome plain(const QByteArray &jpeg = someJpeg());
    // Waits for the service to log `count` request lines; whether it did.
    bool waitForLogLines(qsizetype count) const;

    static QByteArray someJpeg() { return QByteArray("\xFF\xD8\xFF\xE0 pixels \xFF\xD9", 12); }

    ScriptedModel model;
    service::ServiceConfig config;
    QString error;
    std::unique_ptr<service::Engine> engine;
    FakeExtractor fakeExtractor;
    std::unique_ptr<RunningService> running;
    ScopedSettings settings;
    QNetworkAccessManager network;
    QList<protocol::StreamPartial> partials;
};

} // namespace tavolen::test
