// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <variant>

namespace tavolen::service {

// Whether an interface-language tag ("zh-Hans", "zh_CN") asks for Chinese:
// one rule for every engine and every message the service writes.
inline bool prefersChinese(const QString &languageTag)
{
    return languageTag.trimmed().startsWith(QLatin1String("zh"), Qt::CaseInsensitive);
}

// What one upload gives an engine to read. Everything stays in memory.
struct AnalysisInput {
    // Text extracted from the screenshot, reading order, CJK runs joined.
    QString text;
    // The extractor's guess at the text's script: "en", "zh", "mixed", or ""
    // when no text was found.
    QString textLanguage;
    // The uploaded JPEG, for engines that look at the picture themselves.
    QByteArray jpeg;
    // The upload's interface language ("en", "zh-Hans", ...): the language of
    // the replies' glosses and of the translation.
    QString uiLanguage;
};

// Why an engine gave no reading. `code` and `message_zh` reach the client in
// the error envelope or the stream's "error" event; `detail` is for the
// service's log line and never holds the user's text.
struct EngineFailure {
    QString code;
    std::optional<QString> message_zh;
    QString detail;
};

using EngineOutcome = std::variant<protocol::AnalysisResult, EngineFailure>;

// Receives each early field (tone_label, summary, hidden_meaning, risk_level,
// risk_reason) once, as soon as its value is final.
using FieldSink = std::function<void(const protocol::FieldEvent &)>;

class Engine {
public:
    virtual ~Engine() = default;
    // Short name for logs and the envelope's `model`, e.g. "offline".
    virtual QString name() const = 0;
    // Whether its readings offer suggested replies: the app tells the user
    // when they need a language model.
    virtual bool writesReplies() const { return false; }
    // Whether it reads the picture itself: it is then asked at once, and
    // the picture's text is read beside it only for the risk floor.
    virtual bool readsPictures() const { return false; }
    // The model it asks and the endpoint's base URL, for the health check;
    // empty for an engine that asks none.
    virtual QString modelName() const { return {}; }
    virtual QString baseUrl() const { return {}; }
    // Blocks on the calling worker thread; returns soon after `cancelled`
    // turns true (the client went away), with any outcome.
    virtual EngineOutcome analyze(const AnalysisInput &input, const FieldSink &onField,
                                  const std::atomic<bool> &cancelled) = 0;
    // What to do with a page's first lines while the rest is still read, for
    // an engine that can already send early fields from them; empty (the
    // page is then read in one go) for one that cannot.
    virtual std::function<void(const QString &firstLines)> firstLinesReader(const FieldSink &onField)
    {
        (void)onField;
        return {};
    }
};

} // namespace tavolen::service
