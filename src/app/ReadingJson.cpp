// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ReadingJson.h"

#include "api/Encoding.h"

namespace tavolen::app {

QByteArray partialLine(const api::StreamPartial &p)
{
    return "{\"partial\":" + api::encodeStreamPartial(p) + '}';
}

QByteArray resultLine(const api::AnalysisResult &r)
{
    return "{\"result\":" + api::encodeAnalysisResult(r) + '}';
}

QByteArray errorLine(const QString &text)
{
    return "{\"error\":" + api::encodeText(text) + '}';
}

} // namespace tavolen::app
