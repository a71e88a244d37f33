// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Endpoints.h"

#include "service/Engine.h"

namespace tavolen::service {

// A reading from the extracted text alone, without a language model: where
// the text comes from, what it opens with, and what its wording says about
// risk and tone. It writes no replies and claims nothing it cannot see.
class OfflineEngine : public Engine {
public:
    QString name() const override { return QString::fromLatin1(protocol::kBuiltInEngine); }
    EngineOutcome analyze(const AnalysisInput &input, const FieldSink &onField,
                          const std::atomic<bool> &cancelled) override;
    // Its summary is the text's opening sentences, which the first lines give.
    std::function<void(const QString &)> firstLinesReader(const FieldSink &onField) override;
};

} // namespace tavolen::service
