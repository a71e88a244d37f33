// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "RunningService.h"

#include "service/EngineReloader.h"
#include "support/Scratch.h"

#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>

namespace tavolen::test {

// The real service on loopback with its reload endpoint, reloading from a
// configuration directory of the test's own (service.toml, model.toml and
// llm-api-key in `dir`) on this thread's event loop, as the service's main
// thread does. It starts on `first`.
class ReloadingService {
public:
    // `host`: where it listens (a port of its own choosing).
    explicit ReloadingService(service::Engine &first, const QString &host = QStringLiteral("127.0.0.1"));
    ~ReloadingService();

    static constexpr auto kSecret = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

    // Writes a file of the configuration directory with `mode`.
    void write(const QString &name, const QByteArray &content, int mode = 0600)
    {
        writeFile(dir.filePath(name), content, mode);
    }
    // POST /v1/control/reload with this Authorization header (none when
    // empty), the event loop running until the answer is in.
    RawAnswer reload(const QByteArray &authorization = QByteArray("Bearer ") + kSecret);
    QJsonObject health();
    // The envelope of a plain analysis of some picture.
    QJsonObject analyze();
    // What the reloader said, one line a reload.
    QStringList notes() const { return m_notes; }

    QTemporaryDir dir;
    FakeExtractor extractor;
    std::unique_ptr<service::EngineReloader> reloader;
    std::unique_ptr<RunningService> running;

private:
    QStringList m_notes;
};

// One exchange on a thread of its own while this thread's event loop runs:
// the service may need that loop (a reload) before it answers.
RawAnswer exchangeLooping(int port, const QByteArray &request, int timeoutMs = 15000,
                          const QHostAddress &host = QHostAddress(QHostAddress::LocalHost));

} // namespace tavolen::test
