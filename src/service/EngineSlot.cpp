// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/EngineSlot.h"

#include "protocol/Encoding.h"

namespace tavolen::service {

namespace {

QByteArray textOrNull(const QString &text)
{
    return text.isEmpty() ? QByteArrayLiteral("null") : protocol::encodeText(text);
}

} // namespace

QByteArray engineFields(const Engine &engine)
{
    return R"("engine":)" + protocol::encodeText(engine.name()) + R"(,"model":)" +
           textOrNull(engine.modelName()) + R"(,"base_url":)" + textOrNull(engine.baseUrl()) +
           R"(,"replies":)" + (engine.writesReplies() ? "true" : "false");
}

} // namespace tavolen::service
