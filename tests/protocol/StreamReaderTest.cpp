// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/StreamReader.h"
#include "protocol/Decoding.h"
#include "protocol/LineSplitter.h"
#include "protocol/TrimSpaces.h"
#include "support/ServiceAnswers.h"

#include <QList>

#include <gtest/gtest.h>

using namespace tavolen::protocol;
using tavolen::test::envelopeJson;
using tavolen::test::fieldJson;

namespace {

// Every partial the reader reports for `bytes` followed by the end of the
// body, and the step that ended the reading.
std::pair<QList<StreamPartial>, StreamReader::Step> readAll(const QByteArray &bytes)
{
    StreamReader reader;
    reader.append(bytes);
    reader.endOfBody();
    QList<StreamPartial> partials;
    for (;;) {
        StreamReader::Step step = reader.next();
        if (const auto *p = std::get_if<StreamReader::Partial>(&step))
            partials.append(p->partial);
        else
            return {partials, step};
    }
}

QByteArray data(const QByteArray &field, const QByteArray &valueLiteral)
{
    return "data: " + fieldJson(field, valueLiteral) + "\n";
}

QList<QByteArray> drain(LineSplitter &splitter)
{
    QList<QByteArray> lines;
    while (auto line = splitter.next())
        lines.append(*line);
    return lines;
}

const StreamReader::Step kMalformed = StreamReader::Failed{StreamReader::Failed::Malformed{}};

TEST(StreamReader, OnlyLinesThatBeginExactlyWithEventOrDataCountAndTheirValuesAreTrimmed)
{
    const QByteArray summary = data("summary", R"("S")");
    const std::pair<QByteArray, int> cases[] = {
        {"event:field\n" + summary, 1},
        {"event: \t field \t\n" + summary, 1},
        {"event:\u00A0field\u3000\n" + summary, 1},
        {"event:\u2009field\u202F\n" + summary, 1},
        {"event: field\ndata:" + fieldJson("summary", R"("S")") + "\u3000\t\r\n", 1},
        {"event: fi eld\n" + summary, 0},
        {"event: Field\n" + summary, 0},
        {"event: field\n " + summary, 0},
        {" event: field\n" + summary, 0},
        {"event: field\nDATA: " + fieldJson("summary", R"("S")") + "\n", 0},
        {summary, 0},
    };
    for (const auto &[stream, count] : cases)
        EXPECT_EQ(readAll(stream).first.size(), count) << stream.toStdString();
}

TEST(StreamReader, FieldEventsBuildTheWholePartialAndTheEventNameHolds)
{
    const QByteArray stream = "event: field\n\n: a comment\nid: 7\nretry: 10\n" +
                              data("summary", R"("first")") + "\n\n" + data("summary", R"("second")") +
                              data("best_reply", R"("not partial")") +
                              "data: {\"field\": \"summary\", \"value\": \n" + data("risk_level", "42") +
                              data("tone_label", R"("Dry")") + data("summary", "null") +
                              "data: {\"field\":\"risk_reason\"}\n" + data("hidden_meaning", R"("")");
    QList<StreamPartial> expected(6);
    expected[0].summary = u"first"_qs;
    expected[1].summary = u"second"_qs;
    expected[2] = expected[1];
    expected[2].tone_label = u"Dry"_qs;
    expected[3].tone_label = u"Dry"_qs; // null clears
    expected[4] = expected[3];          // a missing value clears too, and still notifies
    expected[5] = expected[3];
    expected[5].hidden_meaning = u""_qs; // an empty text is not absent
    const auto [partials, end] = readAll(stream);
    EXPECT_EQ(partials, expected) << "unknown names, broken JSON and wrong types notify nobody";
    EXPECT_EQ(end, kMalformed) << "the body ended without a result";
}

TEST(StreamReader, ResultEndsTheReadingAtItsFirstLine)
{
    StreamReader reader;
    reader.append("event: result\ndata: " + envelopeJson() + "\n" + data("summary", R"("late")"));
    EXPECT_EQ(reader.next(), StreamReader::Step(StreamReader::Done{*decodeAnalyzeEnvelope(envelopeJson())}));

    const QByteArray json = envelopeJson();
    const auto [partials, end] =
        readAll("event: result\ndata: " + json.left(30) + "\ndata: " + json.mid(30) + "\n");
    EXPECT_EQ(end, kMalformed) << "a result split over two data lines does not decode";
}

TEST(StreamReader, ErrorEventEndsTheReadingWithTheServicesMessageWhenReadable)
{
    using ErrorEvent = StreamReader::Failed::ErrorEvent;
    const std::pair<QByteArray, std::optional<QString>> cases[] = {
        {R"({"code":"busy","message_zh":"忙"})", QString::fromUtf8("忙")},
        {R"({"code":"busy"})", std::nullopt},
        {"<html>", std::nullopt},
    };
    for (const auto &[payload, message] : cases)
        EXPECT_EQ(readAll("event: error\ndata: " + payload + "\n" + data("summary", R"("late")")),
                  std::make_pair(QList<StreamPartial>(),
                                 StreamReader::Step(StreamReader::Failed{ErrorEvent{message}})))
            << payload.toStdString();
}

TEST(StreamReader, TrimTakesOnlyWholeSpacesFromTheEnds)
{
    const struct {
        QByteArray in, out;
        const char *why;
    } cases[] = {
        {"\t \u00A0a b\u3000 ", "a b", "tabs and Unicode space separators"},
        {"\xC2", "\xC2", "a cut sequence is not a space"},
        {"\xC0\xA0x", "\xC0\xA0x", "nor an overlong one"},
        {"x\xE3\x80", "x\xE3\x80", "nor a cut one at the end"},
        {"\n x \r", "\n x \r", "line breaks are not trimmed"},
        {" \u200B", "\u200B", "a zero-width space is a format character"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(trimSpaces(c.in), c.out) << c.why;
}

TEST(LineSplitter, EveryTerminatorEndsOneLineWhateverTheArrivalPieces)
{
    const QByteArray bytes = "a\nb\rc\r\nd\r\re\n\nf";
    for (qsizetype step = 1; step <= bytes.size(); ++step) {
        LineSplitter splitter;
        QList<QByteArray> lines;
        for (qsizetype at = 0; at < bytes.size(); at += step) {
            splitter.append(QByteArrayView(bytes).sliced(at, std::min(step, bytes.size() - at)));
            lines += drain(splitter);
        }
        splitter.close();
        EXPECT_EQ(lines + drain(splitter), (QList<QByteArray>{"a", "b", "c", "d", "", "e", "", "f"})) << step;
    }
}

TEST(LineSplitter, LineIsHandedOutAsSoonAsItsTerminatorArrives)
{
    LineSplitter splitter;
    splitter.append("first\r");
    EXPECT_EQ(splitter.next(), QByteArray("first")) << "a CR ends its line without waiting for a LF";
    splitter.append("\npar");
    EXPECT_EQ(drain(splitter), QList<QByteArray>{});
    splitter.append("tial\r\n");
    splitter.close();
    EXPECT_EQ(drain(splitter), QList<QByteArray>{"partial"}) << "no empty line after a final terminator";
}

TEST(LineSplitter, LineLongerThanTheLimitOverflowsWithoutItsTerminator)
{
    LineSplitter splitter(8);
    splitter.append("12345678\n123456789");
    EXPECT_EQ(splitter.next(), QByteArray("12345678")) << "exactly the limit is fine";
    EXPECT_EQ(splitter.next(), std::nullopt);
    EXPECT_TRUE(splitter.overflowed()) << "noticed before any terminator arrives";
    splitter.append("\nshort\n");
    EXPECT_EQ(splitter.next(), std::nullopt) << "nothing more after an overflow";

    LineSplitter whole(8);
    whole.append("123456789\nlater\n");
    EXPECT_EQ(whole.next(), std::nullopt);
    EXPECT_TRUE(whole.overflowed()) << "also when the long line arrives complete";
}

TEST(LineSplitter, LongLineInManySmallPiecesIsNotRescannedEachTime)
{
    // A megabyte in 16-byte pieces: rescanning from the line start on every
    // piece would take minutes.
    LineSplitter splitter;
    for (int i = 0; i < 65536 - 1; ++i) {
        splitter.append(QByteArray(16, 'x'));
        ASSERT_EQ(splitter.next(), std::nullopt);
    }
    splitter.append("\n");
    EXPECT_EQ(splitter.next().value_or("").size(), (65536 - 1) * 16);
}

} // namespace
