// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/Fields.h"
#include "protocol/Decoding.h"
#include "protocol/Encoding.h"
#include "support/ServiceAnswers.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

using namespace tavolen::protocol;
using namespace tavolen::test;

namespace {

// Every member set, and none to its default: a member the table misses
// decodes to its default and so differs.
AnalyzeEnvelope fullEnvelope()
{
    AnalyzeEnvelope e = envelopeWith(sampleResult());
    e.request_id = QStringLiteral("r-1");
    e.schema_version = QStringLiteral("1");
    e.model = QStringLiteral("m");
    e.path = QStringLiteral("fast");
    e.latency_ms = -7;
    e.result.hidden_meaning = QStringLiteral("H");
    e.result.full_translation = QStringLiteral("T");
    e.result.flags = {true, true, true};
    return e;
}

// Each member's path ("result.flags.unsupported") and presence, from the tables.
template <Described Record> void collect(const QString &prefix, QList<std::pair<QString, Presence>> &out)
{
    forEachField<Record>([&](const auto &field) {
        const QString path = prefix + QLatin1String(field.key);
        out.append({path, field.presence});
        using Member = std::remove_cvref_t<decltype(std::declval<Record &>().*field.member)>;
        if constexpr (Described<Member>)
            collect<Member>(path + u'.', out);
    });
}

QJsonObject without(QJsonObject o, QStringList path)
{
    const QString key = path.takeFirst();
    if (path.isEmpty())
        o.remove(key);
    else
        o.insert(key, without(o.value(key).toObject(), path));
    return o;
}

} // namespace

TEST(Fields, FullyPopulatedEnvelopeReadsBackUnchangedWithEveryMemberWritten)
{
    const AnalyzeEnvelope full = fullEnvelope();
    ASSERT_NE(full.result, AnalysisResult{});
    const QByteArray json = encodeAnalyzeEnvelope(full);
    EXPECT_EQ(decodeAnalyzeEnvelope(json), full) << json.toStdString();
    QList<std::pair<QString, Presence>> members;
    collect<AnalyzeEnvelope>(QString(), members);
    const QJsonObject written = QJsonDocument::fromJson(json).object();
    for (const auto &[path, presence] : members) {
        QJsonValue v = written;
        for (const QString &key : path.split(u'.'))
            v = v.toObject().value(key);
        EXPECT_FALSE(v.isUndefined() || v.isNull()) << path.toStdString();
    }
}

TEST(Fields, EachRequiredMemberMissingFailsTheDecodeAndEachOptionalOneDoesNot)
{
    const QJsonObject full = QJsonDocument::fromJson(encodeAnalyzeEnvelope(fullEnvelope())).object();
    QList<std::pair<QString, Presence>> members;
    collect<AnalyzeEnvelope>(QString(), members);
    for (const auto &[path, presence] : members) {
        const QByteArray json = QJsonDocument(without(full, path.split(u'.'))).toJson(QJsonDocument::Compact);
        EXPECT_EQ(decodeAnalyzeEnvelope(json).has_value(), presence != Presence::Required)
            << path.toStdString();
    }
}
