// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/Api.h"
#include "core/RunToEnd.h"
#include "support/ScopedSettings.h"
#include "support/Scratch.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QTest>

#include <gtest/gtest.h>

#include <qcoro/qcorotask.h>

namespace tavolen::test {

// The outcome's kind and payload in one readable line: "ok", "http 500 M",
// "http 201", "transport: KIND", "quota", "decode" or "platform: TEXT".
inline std::string caseText(const api::AnalysisOutcome &outcome)
{
    if (outcome.ok())
        return "ok";
    if (const auto *p = std::get_if<PlatformError>(&outcome.error()))
        return "platform: " + p->description.toStdString();
    struct Text {
        std::string operator()(const api::APIClientError::Http &h) const
        {
            return "http " + std::to_string(h.status) + (h.message ? " " + h.message->toStdString() : "");
        }
        std::string operator()(const api::APIClientError::Transport &t) const
        {
            const std::string kind = api::kindName(t.failure.kind);
            if (t.failure.kind == api::TransportFailure::Kind::other)
                return "transport: " + kind + ": " + t.failure.detail.toStdString();
            return "transport: " + kind;
        }
        std::string operator()(const api::APIClientError::QuotaExceeded &) const { return "quota"; }
        std::string operator()(const api::APIClientError::Decode &) const { return "decode"; }
    };
    return std::visit(Text{}, std::get<api::APIClientError>(outcome.error()).value());
}

// A test that talks to the scripted service: "api_base" points at it, and
// the calls' time-outs may be shortened for the test only.
class ServiceTest : public ::testing::Test {
protected:
    ServiceTest() { useService(server.baseUrl()); }

    void useService(const QString &base) { settings.store.setValue(QStringLiteral("api_base"), base); }
    // A loopback address where nothing listens.
    static QString refusingBaseUrl() { return QStringLiteral("http://127.0.0.1:%1").arg(freePort()); }

    // Runs a call to its end, keeping the event loop going meanwhile.
    template <class T> T run(QCoro::Task<T> &&task)
    {
        clock.start();
        return runToEnd(std::move(task));
    }

    // What the calls run with: this test's network, settings and timeouts.
    api::CallContext context() { return {&network, &settings.store, timeouts}; }

    ScopedSettings settings;
    ScriptedServer server;
    QNetworkAccessManager network;
    api::Timeouts timeouts;
    QElapsedTimer clock; // started by run()
};

} // namespace tavolen::test
