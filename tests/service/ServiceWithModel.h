// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "RunningService.h"
#include "llm/FakeModelServer.h"

#include <string>
#include <vector>

namespace tavolen::test {

// The service configured for a scripted model that writes `answer` (the
// test may script it anew); the app's settings point at the service. The picture's text comes from
// `extractor` when given, else from a fake that reads "Coffee on Friday?".
// With `readsPictures`, the model is one that is sent the screenshot.
struct ServiceWithModel : AppCalls {
    explicit ServiceWithModel(std::string answer, service::TextExtractor *extractor = nullptr,
                              bool readsPictures = false);
    // Waits for the service to log `count` request lines; whether it did.
    bool waitForLogLines(qsizetype count) const;

    FakeModelServer model; // writes `answer` unless told otherwise
    service::ServiceConfig config;
    QString error;
    std::unique_ptr<service::Engine> engine;
    FakeExtractor fakeExtractor;
    std::unique_ptr<RunningService> running;
};

// model.toml choosing the model "qwen2.5:7b" at `baseUrl`, with `apiKey`
// ("file", "keyring" or the key itself) when given.
inline QByteArray modelToml(const QString &baseUrl, const QByteArray &apiKey = {})
{
    QByteArray text =
        "engine = \"llm\"\n[llm]\nbase_url = \"" + baseUrl.toUtf8() + "\"\nmodel = \"qwen2.5:7b\"\n";
    if (!apiKey.isEmpty())
        text += "api_key = \"" + apiKey + "\"\n";
    return text;
}

// The Authorization header of each request `model` received, "" where there was none.
inline std::vector<std::string> authorizations(const FakeModelServer &model)
{
    std::vector<std::string> out;
    for (const ReceivedRequest &request : model.requests())
        out.push_back(request.header("Authorization").value_or(std::string()));
    return out;
}

} // namespace tavolen::test
