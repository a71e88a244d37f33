// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ReadingJson.h"

#include "protocol/Encoding.h"

namespace tavolen::app {

QByteArray partialLine(const protocol::StreamPartial &p)
{
    return "{\"partial\":" + protocol::encodeStreamPartial(p) + '}';
}

QByteArray resultLine(const protocol::AnalysisResult &r)
{
    return "{\"result\":" + protocol::encodeAnalysisResult(r) + '}';
}

QByteArray errorLine(const QString &text)
{
    return "{\"error\":" + protocol::encodeText(text) + '}';
}

} // namespace tavolen::app
